// Extra pictures for docs/screenshots beside the one of every window (wizard
// pages, a window in a particular state). Add a file tools/screenshot/<Area>Shots.cpp
// (every *Shots.cpp here is built into morvin-screenshot) with one registration
// per picture; it runs after all windows are created on a fresh default machine:
//
//   #include "tools/screenshot/ShotRegistry.h"
//   namespace {
//   QImage wizardTitlePage() { ...; return widget->grab().toImage(); }
//   const morvin::shots::Registration page("TfmKreatorAnimTapeta-TytulTlo", wizardTitlePage);
//   }
//
// The name becomes docs/screenshots/<name>.png.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <map>
#include <string>

namespace morvin::shots {

using Shot = std::function<QImage()>;

struct Registration {
  Registration(const char* name, Shot shot);
};

const std::map<std::string, Shot>& extraShots();

// A picture of a window as the user sees it: shown (not modally), laid out, grabbed, hidden again.
QImage grabWindow(QWidget* window);

}  // namespace morvin::shots
