#include "WindowSet.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QPalette>
#include <QPointer>
#include <QWidget>
#include <array>

#include "Binding.h"
#include "Text.h"
#include "registry/Cp1250.h"
#include "registry/Journal.h"

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

void showModalWindow(QWidget* w) {
  if (modalRunner())
    modalRunner()(WindowId::Count, w);
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

namespace morvin {

namespace {

// The windows' own captions: the journal's sources do not change with the
// program's language.
constexpr std::array<const char*, static_cast<std::size_t>(WindowId::Count)> kJournalSources = {
    "Morvin 2.0 - Next Generation",
    "Pulpit",
    "Windows",
    "Sieć",
    "Pasek zadań i Menu Start",
    "Microsoft DOS",
    "Foldery i pliki",
    "Ikony",
    "Ustawienia programu",
    "Zainstalowane programy",
    "Sztuczki w Windows - Praktyczny poradnik"};

// Windows made on demand, by object name.
struct OtherSource {
  const char* objectName;
  const char* source;
};
constexpr std::array<OtherSource, 2> kOtherSources = {
    {{"fmKreatorAnimTapeta", "Kreator animowanej tapety"}, {"fmHistoria", "Historia zmian"}}};

std::string sourceOfWidget(QWidget* w) {
  w = w->window();
  for (std::size_t i = 0; i < kJournalSources.size(); ++i)
    if (instances()[i] == w) return journalSourceOf(static_cast<WindowId>(i));
  for (const OtherSource& other : kOtherSources)
    if (w->objectName() == QLatin1String(other.objectName)) return cp1250::fromUtf8(other.source);
  return toAnsi(w->windowTitle());
}

}  // namespace

void reloadWindows() {
  for (const auto& w : instances()) {
    if (!w) continue;
    for (auto* engine : w->findChildren<binding::Engine*>()) engine->reload();
  }
}

std::string journalSourceOf(WindowId id) {
  if (id == WindowId::Count) return {};
  return cp1250::fromUtf8(kJournalSources[static_cast<std::size_t>(id)]);
}

void installJournalSource() {
  reg::journal::setSourceProvider([]() -> std::string {
    QWidget* w = QApplication::activeModalWidget();
    if (!w) w = QApplication::activeWindow();
    if (!w) w = window(WindowId::MainForm);
    return w ? sourceOfWidget(w) : std::string();
  });
}

}  // namespace morvin
