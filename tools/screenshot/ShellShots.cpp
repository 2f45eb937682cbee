// The main window with its Start menu open, a pointer over "Sieć".
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QToolButton>

#include "shell/WindowSet.h"
#include "tools/screenshot/ShotRegistry.h"

namespace morvin::shots {
namespace {

QImage mainWindowWithMenu() {
  QWidget* main = window(WindowId::MainForm);
  if (!main) return {};
  auto* start = main->findChild<QToolButton*>(QStringLiteral("SpeedButton1"));
  auto* entry = main->findChild<QLabel*>(QStringLiteral("Label7"));
  if (!start || !entry) return {};
  main->show();
  start->click();
  QEvent enter(QEvent::Enter);
  QCoreApplication::sendEvent(entry, &enter);
  const QImage image = grabWindow(main);
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(entry, &leave);
  start->click();
  return image;
}

const Registration menu("TMainForm-Menu", mainWindowWithMenu);

}  // namespace
}  // namespace morvin::shots
