#include "ShellService.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QWidget>

#include "Text.h"
#ifdef _WIN32
#include "platform/Win32Shell.h"
#endif

namespace morvin {

namespace {

#ifdef _WIN32
// On Windows the system's own shell opens documents and runs commands.
class QtShellService final : public ShellService {
 public:
  void execute(QWidget* owner, const QString& verb, const QString& file, int showCommand) override {
    void* window = owner ? reinterpret_cast<void*>(owner->window()->winId()) : nullptr;
    platform::shellExecute(window, toAnsi(verb), toAnsi(file), showCommand);
  }
  void winExec(const QString& commandLine, int showCommand) override {
    platform::winExec(toAnsi(commandLine), showCommand);
  }
};
#else
// "mailto:...", "http://..." are addresses; anything else is a file.
QUrl urlFor(const QString& file) {
  const QUrl url(file);
  if (url.isValid() && url.scheme().size() > 1) return url;
  return QUrl::fromLocalFile(file);
}

// The desktop opens documents and links; Windows commands go to wine when it is there.
class QtShellService final : public ShellService {
 public:
  void execute(QWidget*, const QString& verb, const QString& file, int) override {
    if (verb.compare(QStringLiteral("open"), Qt::CaseInsensitive) != 0 || file.isEmpty()) return;
    QDesktopServices::openUrl(urlFor(file));
  }

  void winExec(const QString& commandLine, int) override {
    const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
    if (wine.isEmpty()) return;
    const QStringList arguments = QProcess::splitCommand(commandLine);
    if (arguments.isEmpty()) return;
    QProcess::startDetached(wine, arguments);
  }
};
#endif

std::shared_ptr<ShellService>& current() {
  static std::shared_ptr<ShellService> service = std::make_shared<QtShellService>();
  return service;
}

}  // namespace

ShellService& shellService() {
  return *current();
}

void setShellService(std::shared_ptr<ShellService> service) {
  current() = service ? std::move(service) : std::make_shared<QtShellService>();
}

}  // namespace morvin
