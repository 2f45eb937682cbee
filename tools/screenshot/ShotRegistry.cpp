#include "ShotRegistry.h"

#include <QCoreApplication>

namespace morvin::shots {

namespace {
std::map<std::string, Shot>& table() {
  static std::map<std::string, Shot> shots;
  return shots;
}
}  // namespace

Registration::Registration(const char* name, Shot shot) {
  table().emplace(name, std::move(shot));
}

const std::map<std::string, Shot>& extraShots() {
  return table();
}

QImage grabWindow(QWidget* window) {
  if (!window) return {};
  const bool wasVisible = window->isVisible();
  window->show();
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  const QImage image = window->grab().toImage();
  if (!wasVisible) window->hide();
  return image;
}

}  // namespace morvin::shots
