// The six pages of the wallpaper wizard, as a fresh wizard shows them.
#include <QToolButton>

#include "shell/WindowSet.h"
#include "tools/screenshot/ShotRegistry.h"
#include "wallpaper/kodKreatorAnimTapeta.h"

namespace morvin::shots {
namespace {

QImage wizardPage(int step) {
  TfmKreatorAnimTapeta wizard(window(WindowId::Pulpit));
  auto* next = wizard.findChild<QToolButton*>(QStringLiteral("SpeedButton2"), Qt::FindDirectChildrenOnly);
  if (!next) return {};
  wizard.show();
  for (int i = 1; i < step; ++i) next->click();
  return grabWindow(&wizard);
}

const Registration page1("TfmKreatorAnimTapeta-1-PlikAnim", [] { return wizardPage(1); });
const Registration page2("TfmKreatorAnimTapeta-2-KodZnak", [] { return wizardPage(2); });
const Registration page3("TfmKreatorAnimTapeta-3-SzerWys", [] { return wizardPage(3); });
const Registration page4("TfmKreatorAnimTapeta-4-TytulTlo", [] { return wizardPage(4); });
const Registration page5("TfmKreatorAnimTapeta-5-OpcjeAnim", [] { return wizardPage(5); });
const Registration page6("TfmKreatorAnimTapeta-6-Koniec", [] { return wizardPage(6); });

}  // namespace
}  // namespace morvin::shots
