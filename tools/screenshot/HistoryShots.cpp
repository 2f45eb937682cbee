// "Historia zmian" after a few changes made through the windows.
#include <QCheckBox>

#include "history/kodHistoria.h"
#include "registry/Journal.h"
#include "shell/WindowSet.h"
#include "tools/screenshot/ShotRegistry.h"

namespace morvin::shots {
namespace {

void tick(WindowId id, const char* box) {
  QWidget* w = window(id);
  auto* check = w ? w->findChild<QCheckBox*>(QString::fromLatin1(box)) : nullptr;
  if (!check) return;
  reg::journal::Source source(journalSourceOf(id));  // as if made with the window open
  check->setChecked(!check->isChecked());
}

QImage historyWindow() {
  tick(WindowId::Web, "CheckBox6");
  tick(WindowId::Windows, "CheckBox1");
  tick(WindowId::Foldery, "CheckBox1");
  tick(WindowId::Web, "CheckBox6");
  TfmHistoria history(window(WindowId::MainForm));
  return grabWindow(&history);
}

const Registration history("TfmHistoria", historyWindow);

}  // namespace
}  // namespace morvin::shots
