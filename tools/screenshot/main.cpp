// morvin-screenshot [--lang en] OUTPUT_FOLDER: creates every window of the
// program on a fresh default machine (in a temporary folder, offscreen) and
// saves <WindowClass>.png of each, then the registered extra pictures.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <memory>

#include "app/Startup.h"
#include "platform/DefaultMachine.h"
#include "platform/Machine.h"
#include "shell/DataPaths.h"
#include "shell/Language.h"
#include "shell/RecordingServices.h"
#include "shell/WindowSet.h"
#include "tools/screenshot/ShotRegistry.h"

namespace {

constexpr std::array<const char*, static_cast<std::size_t>(morvin::WindowId::Count)> kClassNames = {
    "TMainForm",  "TfmPulpit", "TfmWindows", "TfmWeb",      "TfmMenuStart", "TfmDos",
    "TfmFoldery", "TfmIkony",  "TfmSet",     "TfmProgramy", "TfmSztuczki"};

bool save(const QImage& image, const QString& path) {
  const bool saved = !image.isNull() && image.save(path, "PNG");
  std::fprintf(stderr, "%s %s\n", saved ? "saved" : "FAILED", qPrintable(path));
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QStringList arguments = app.arguments();
  const bool withLanguage = arguments.size() == 4 && arguments[1] == QLatin1String("--lang");
  if (arguments.size() != 2 && !withLanguage) {
    std::fprintf(stderr, "usage: morvin-screenshot [--lang en] OUTPUT_FOLDER\n");
    return 2;
  }
  const QString output = arguments.last();
  QDir().mkpath(output);
  morvin::applyClassicLook(app);

  // Nothing may wait for an answer; what would have been shown is reported.
  auto dialogs = std::make_shared<morvin::RecordingDialogService>();
  morvin::setDialogService(dialogs);
  morvin::setShellService(std::make_shared<morvin::RecordingShellService>());
  morvin::setModalRunner([](morvin::WindowId, QWidget*) {});

  // The English program is shown on an English Windows 98, as its user has it.
  const auto language = morvin::languageOverride(arguments);
  const auto system = language == morvin::Language::English ? morvin::platform::SystemLanguage::English
                                                            : morvin::platform::SystemLanguage::Polish;
  QTemporaryDir machineFolder;
  const std::string folder = machineFolder.filePath(QStringLiteral("machine")).toStdString();
  try {
    morvin::platform::provisionMachine(folder, morvin::platform::defaultMachineRegFile(system));
    morvin::platform::openMachine(folder);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "morvin-screenshot: cannot make a machine: %s\n", e.what());
    return 1;
  }

  if (language && !morvin::setLanguage(*language)) return 1;
  morvin::createWindows();
  int failures = 0;
  for (std::size_t i = 0; i < kClassNames.size(); ++i) {
    QWidget* w = morvin::window(static_cast<morvin::WindowId>(i));
    if (!w) {
      std::fprintf(stderr, "no window %s\n", kClassNames[i]);
      ++failures;
      continue;
    }
    failures += !save(morvin::shots::grabWindow(w), output + '/' + kClassNames[i] + ".png");
  }
  for (const auto& [name, shot] : morvin::shots::extraShots())
    failures += !save(shot(), output + '/' + QString::fromStdString(name) + ".png");
  for (const QString& error : dialogs->errors()) std::fprintf(stderr, "error box: %s\n", qPrintable(error));
  morvin::destroyWindows();
  return failures ? 1 : 0;
}
