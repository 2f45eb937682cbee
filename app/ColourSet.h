// The colour set: the windows and panels that take the program's window
// colour, in the order they are given it. The main window, the settings window
// itself, the installed-programs window and the wallpaper wizard keep their own.
#pragma once

#include <QColor>
#include <vector>

class QWidget;

namespace morvin {

// The members that exist now, in order: TfmDos, TfmFoldery, TfmIkony,
// TfmWindows, TfmMenuStart, TfmWeb, TfmPulpit, TfmSztuczki, the settings
// window's sample `panel`, and `Panel1` of TfmMenuStart.
std::vector<QWidget*> colourSetMembers(QWidget* samplePanel);

// Gives `colour` to every member of the set.
void applyWindowColour(QWidget* samplePanel, const QColor& colour);

}  // namespace morvin
