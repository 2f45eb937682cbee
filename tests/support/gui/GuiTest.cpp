#include "GuiTest.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QEnterEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "shell/DialogService.h"
#include "shell/ShellService.h"

namespace morvin::test {

void ensureApplication() {
  if (QApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "morvin-gui-test";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);  // lives until the test program ends
}

void GuiTest::SetUp() {
  ensureApplication();
  dialogLog = std::make_shared<RecordingDialogService>();
  shellLog = std::make_shared<RecordingShellService>();
  setDialogService(dialogLog);
  setShellService(shellLog);
  machine = std::make_unique<TempMachine>(machineContent(), machineOptions());
  clearWindows();
  modalShown.clear();
  setModalRunner([this](WindowId id, QWidget*) { modalShown.push_back(id); });
}

void GuiTest::TearDown() {
  // Children first, so no window is deleted twice through its parent.
  for (int i = static_cast<int>(WindowId::Count) - 1; i >= 0; --i) delete window(static_cast<WindowId>(i));
  clearWindows();
  setModalRunner({});
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  machine.reset();
  setDialogService(nullptr);
  setShellService(nullptr);
}

QList<QWidget*> readableControls(QWidget* window) {
  QList<QWidget*> controls;
  for (QWidget* c : window->findChildren<QWidget*>()) {
    const bool control = qobject_cast<QAbstractButton*>(c) || qobject_cast<QLineEdit*>(c) ||
                         qobject_cast<QAbstractItemView*>(c) || qobject_cast<QAbstractSpinBox*>(c) ||
                         qobject_cast<QLabel*>(c) || qobject_cast<QGroupBox*>(c);
    if (control && !c->objectName().startsWith("qt_")) controls << c;
  }
  return controls;
}

void click(QWidget* control) {
  if (!control) return;
  if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    button->click();
    return;
  }
  QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
}

void click(QWidget* window, const char* name) {
  click(child(window, name));
}

void rightClick(QWidget* control, QPoint at) {
  if (!control) return;
  if (at == QPoint(-1, -1)) at = control->rect().center();
  QTest::mouseClick(control, Qt::RightButton, {}, at);
}

void doubleClick(QWidget* control) {
  if (!control) return;
  QTest::mouseDClick(control, Qt::LeftButton, {}, control->rect().center());
}

void hover(QWidget* control) {
  if (!control) return;
  const QPointF centre = control->rect().center();
  QEnterEvent enter(centre, control->mapToGlobal(centre), control->mapToGlobal(centre));
  QApplication::sendEvent(control, &enter);
}

void leave(QWidget* control) {
  if (!control) return;
  QEvent leaveEvent(QEvent::Leave);
  QApplication::sendEvent(control, &leaveEvent);
}

void processEvents() {
  QCoreApplication::processEvents();
}

}  // namespace morvin::test
