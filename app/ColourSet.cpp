#include "ColourSet.h"

#include <QWidget>

#include "shell/WindowSet.h"

namespace morvin {

std::vector<QWidget*> colourSetMembers(QWidget* samplePanel) {
  std::vector<QWidget*> members;
  for (WindowId id : {WindowId::Dos, WindowId::Foldery, WindowId::Ikony, WindowId::Windows,
                      WindowId::MenuStart, WindowId::Web, WindowId::Pulpit, WindowId::Sztuczki})
    if (QWidget* w = window(id)) members.push_back(w);
  if (samplePanel) members.push_back(samplePanel);
  if (QWidget* menuStart = window(WindowId::MenuStart))
    if (auto* panel = menuStart->findChild<QWidget*>(QStringLiteral("Panel1"))) members.push_back(panel);
  return members;
}

void applyWindowColour(QWidget* samplePanel, const QColor& colour) {
  for (QWidget* member : colourSetMembers(samplePanel)) setBackgroundColour(member, colour);
}

}  // namespace morvin
