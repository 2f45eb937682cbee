#include "WindowSet.h"

#include <QDialog>
#include <QEventLoop>
#include <QPalette>
#include <QPointer>
#include <QWidget>
#include <array>

namespace morvin {

namespace {

std::array<QPointer<QWidget>, static_cast<std::size_t>(WindowId::Count)>& instances() {
  static std::array<QPointer<QWidget>, static_cast<std::size_t>(WindowId::Count)> windows;
  return windows;
}

ModalRunner& modalRunner() {
  static ModalRunner runner;
  return runner;
}

void runModal(QWidget* w) {
  if (auto* dialog = qobject_cast<QDialog*>(w)) {
    dialog->exec();
    return;
  }
  // A plain widget: application-modal until it is hidden again.
  w->setWindowModality(Qt::ApplicationModal);
  w->show();
  QEventLoop loop;
  QObject::connect(w, &QObject::destroyed, &loop, &QEventLoop::quit);
  while (w->isVisible()) loop.processEvents(QEventLoop::WaitForMoreEvents);
}

}  // namespace

void registerWindow(WindowId id, QWidget* window) {
  if (id == WindowId::Count) return;
  instances()[static_cast<std::size_t>(id)] = window;
}

QWidget* window(WindowId id) {
  if (id == WindowId::Count) return nullptr;
  return instances()[static_cast<std::size_t>(id)].data();
}

void showModal(WindowId id) {
  QWidget* w = window(id);
  if (!w) return;
  if (modalRunner())
    modalRunner()(id, w);
  else
    runModal(w);
}

void clearWindows() {
  for (auto& w : instances()) w.clear();
}

void setModalRunner(ModalRunner runner) {
  modalRunner() = std::move(runner);
}

void setBackgroundColour(QWidget* widget, const QColor& colour) {
  if (!widget) return;
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, colour);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

}  // namespace morvin
