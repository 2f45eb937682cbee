// The whole scrolled content of the windows that scroll (Windows, Taskbar and
// Start menu): the window's own picture shows only the top.
#include <QCoreApplication>
#include <QScrollArea>

#include "shell/WindowSet.h"
#include "tools/screenshot/ShotRegistry.h"

namespace morvin::shots {
namespace {

QImage wholeScrolledContent(WindowId id) {
  QWidget* w = window(id);
  auto* area = w ? w->findChild<QScrollArea*>() : nullptr;
  QWidget* content = area ? area->widget() : nullptr;
  if (!content) return {};
  const bool wasVisible = w->isVisible();
  w->show();
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  // A content that follows the viewport's size is laid out at its full height
  // for the picture; the scroll area would otherwise fit it back at once.
  const bool resizable = area->widgetResizable();
  const QSize shown = content->size();
  if (resizable) {
    area->setWidgetResizable(false);
    content->resize(shown.expandedTo(content->sizeHint()));
  }
  const QImage image = content->grab().toImage();
  if (resizable) {
    content->resize(shown);
    area->setWidgetResizable(true);
  }
  if (!wasVisible) w->hide();
  return image;
}

const Registration windows("TfmWindows-calosc", [] { return wholeScrolledContent(WindowId::Windows); });
const Registration menuStart("TfmMenuStart-calosc", [] { return wholeScrolledContent(WindowId::MenuStart); });

}  // namespace
}  // namespace morvin::shots
