#include "Startup.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QPalette>
#include <QStyleFactory>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "CloseAfterFirstPaint.h"
#include "kodMainForm.h"
#include "machines/kodMaszyny.h"
#include "pictures/Pictures.h"
#include "platform/DefaultMachine.h"
#include "platform/Machine.h"
#include "platform/Machines.h"
#include "registry/Errors.h"
#include "registry/Journal.h"
#include "shell/DataPaths.h"
#include "shell/DialogService.h"
#include "shell/Guard.h"
#include "shell/Language.h"
#include "shell/Text.h"
#include "shell/WindowFactories.h"
#include "shell/WindowSet.h"

namespace morvin {

namespace {

QPalette classicPalette() {
  const QColor face(0xC0C0C0), shadow(0x808080), light(0xDFDFDF), white(Qt::white), black(Qt::black);
  QPalette p(black, face, white, shadow, QColor(0xA0A0A0), black, white, white, face);
  p.setColor(QPalette::Midlight, light);
  p.setColor(QPalette::Shadow, black);
  p.setColor(QPalette::Highlight, QColor(0x000080));
  p.setColor(QPalette::HighlightedText, white);
  p.setColor(QPalette::ToolTipBase, QColor(0xFFFFE1));
  p.setColor(QPalette::ToolTipText, black);
  p.setColor(QPalette::Link, QColor(0x0000FF));
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    p.setColor(QPalette::Disabled, role, shadow);
  p.setColor(QPalette::Disabled, QPalette::Base, face);
  return p;
}

// A screen without a user to answer a message box (offscreen tests, scripts).
bool headless() {
  const QString platform = QGuiApplication::platformName();
  return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

using Factory = QWidget* (*)(QWidget*);

constexpr const char* kHelp =
    "usage: morvin-ng [--lang pl|en]\n"
    "       morvin-ng --version | --help\n"
    "\n"
    "  --lang pl|en   show the program in Polish or English for this run\n"
    "  --version      show the version and end\n"
    "  --help         show this text and end\n"
    "\n"
    "The machine is $MORVIN_MACHINE, else $XDG_DATA_HOME/morvin-ng/machine;\n"
    "$MORVIN_LANG chooses the language as --lang does.\n";

}  // namespace

std::optional<int> answerWithoutDisplay(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--version") {
      std::printf("morvin-ng %s\n", MORVIN_VERSION);
      return 0;
    }
    if (argument == "--help") {
      std::fputs(kHelp, stdout);
      return 0;
    }
  }
  return std::nullopt;
}

void applyClassicLook(QApplication& app) {
  app.setApplicationName(QString::fromLatin1(kApplicationTitle));
  app.setDesktopFileName(QStringLiteral("morvin-ng"));
  if (QStyle* style = QStyleFactory::create(QStringLiteral("Windows"))) app.setStyle(style);
  app.setPalette(classicPalette());
  QFont font;
  font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
  font.setPixelSize(11);
  app.setFont(font);
  const QIcon icon(LoadPictureOrNothing(dataFile(QStringLiteral("Data\\Gfx\\morvin-ng.png"))));
  if (!icon.isNull()) app.setWindowIcon(icon);
}

namespace {

// The machine chosen in the machines window, unless MORVIN_MACHINE names one for this run.
std::string machineFolderOfThisRun() {
  const char* chosenForRun = std::getenv("MORVIN_MACHINE");
  const std::string name = rememberedMachine().toStdString();
  if ((chosenForRun && chosenForRun[0]) || !platform::isMachineName(name))
    return platform::defaultMachineFolder();
  const std::string folder = platform::machinesFolder() + "/" + name;
  return platform::Machine(folder).exists() ? folder : platform::defaultMachineFolder();
}

}  // namespace

bool openDefaultMachine() {
  const std::string folder = machineFolderOfThisRun();
  try {
    // A first start of the English program makes an English Windows 98.
    const auto system = currentLanguage() == Language::English ? platform::SystemLanguage::English
                                                               : platform::SystemLanguage::Polish;
    platform::provisionMachine(folder, platform::defaultMachineRegFile(system));
    platform::openMachine(folder);
    return true;
  } catch (const std::exception& e) {
    const QString text =
        QCoreApplication::translate("Startup", "Nie można otworzyć maszyny w folderze %1:\n%2")
            .arg(QString::fromStdString(folder), fromAnsi(failureMessage(e)));
    std::fprintf(stderr, "morvin-ng: %s\n", text.toLocal8Bit().constData());
    if (!headless()) showApplicationError(toAnsi(text));
    return false;
  }
}

QWidget* createWindows() {
  // What a window writes while it is made is journaled under its caption.
  installJournalSource();
  QWidget* mainWindow = nullptr;
  {
    reg::journal::Source source(journalSourceOf(WindowId::MainForm));
    unguarded([&] { mainWindow = createTMainForm(); });
  }
  // In the order of the window set, after the main window.
  const Factory factories[] = {createTfmPulpit,   createTfmWindows, createTfmWeb,   createTfmMenuStart,
                               createTfmDos,      createTfmFoldery, createTfmIkony, createTfmSet,
                               createTfmProgramy, createTfmSztuczki};
  int id = static_cast<int>(WindowId::MainForm);
  for (Factory factory : factories) {
    reg::journal::Source source(journalSourceOf(static_cast<WindowId>(++id)));
    unguarded([&] { factory(mainWindow); });
  }
  return mainWindow;
}

void destroyWindows() {
  for (int i = static_cast<int>(WindowId::Count) - 1; i >= 0; --i) {
    // A window's destructor may write (MsDos.sys); nothing may escape it.
    reg::journal::Source source(journalSourceOf(static_cast<WindowId>(i)));
    unguarded([i] { delete window(static_cast<WindowId>(i)); });
  }
  clearWindows();
}

int runProgram(int argc, char** argv) {
  if (const std::optional<int> answered = answerWithoutDisplay(argc, argv)) return *answered;
  QApplication app(argc, argv);
  applyClassicLook(app);
  // A language chosen for this run also speaks for a machine that cannot be opened.
  const std::optional<Language> chosen = languageOverride(app.arguments());
  if (chosen) setLanguage(*chosen);
  if (!openDefaultMachine()) return 2;
  if (!chosen) setLanguage(storedLanguage());

  closeMainWindowOnTermination();
  QWidget* mainWindow = createWindows();
  if (!mainWindow) return 3;
  auto* form = qobject_cast<TMainForm*>(mainWindow);
  if (form) QObject::connect(form, &TMainForm::closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
  closeAfterFirstPaintWhenAsked(mainWindow);
  mainWindow->show();

  // MORVIN_SCREENSHOT=<file>: save a picture of the main window, then end.
  const QString shot = qEnvironmentVariable("MORVIN_SCREENSHOT");
  if (!shot.isEmpty()) {
    QTimer::singleShot(1500, mainWindow, [mainWindow, shot] {
      const bool saved = mainWindow->grab().save(shot);
      std::fprintf(stderr, saved ? "morvin-ng: saved %s\n" : "morvin-ng: could not save %s\n",
                   shot.toLocal8Bit().constData());
      mainWindow->close();
    });
  }

  const int result = app.exec();
  destroyWindows();
  return result;
}

}  // namespace morvin
