#include "LinuxIntegration.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "platform/Machine.h"
#include "registry/Errors.h"

namespace morvin::desktop {

namespace {

constexpr const char* kFileName = "morvin-ng-folder.desktop";

// The action's words follow the program's language when it is installed.
QString actionName() {
  return QCoreApplication::translate("LinuxIntegration", "Uruchom Morvin NG");
}
QString actionComment() {
  return QCoreApplication::translate("LinuxIntegration",
                                     "Ustawienia systemu Windows 9x w programie Morvin NG");
}

QString dataHome() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

// Earlier versions' "Open with" entry for inode/directory: on a desktop
// without a default folder handler it could become the program opening
// every folder, so it is only ever removed.
QString legacyApplicationsEntry() {
  return dataHome() + QStringLiteral("/applications/") + QLatin1String(kFileName);
}
QString nemoAction() {
  return dataHome() + QStringLiteral("/nemo/actions/morvin-ng-folder.nemo_action");
}
QString serviceMenuKf6() {
  return dataHome() + QStringLiteral("/kio/servicemenus/") + QLatin1String(kFileName);
}
QString serviceMenuKf5() {
  return dataHome() + QStringLiteral("/kservices5/ServiceMenus/") + QLatin1String(kFileName);
}

// Nemo's context-menu action on folders: an action, no handler of the folder type.
QString nemoActionText(const QString& exec) {
  return QStringLiteral(
             "[Nemo Action]\n"
             "Active=true\n"
             "Name=%1\n"
             "Comment=%3\n"
             "Exec=%2\n"
             "Icon-Name=morvin-ng\n"
             "Selection=any\n"
             "Extensions=dir;\n")
      .arg(actionName(), exec, actionComment());
}

QString serviceMenuText(const QString& exec) {
  return QStringLiteral(
             "[Desktop Entry]\n"
             "Type=Service\n"
             "MimeType=inode/directory;\n"
             "X-KDE-ServiceTypes=KonqPopupMenu/Plugin\n"
             "Actions=morvinNG;\n"
             "\n"
             "[Desktop Action morvinNG]\n"
             "Name=%1\n"
             "Icon=morvin-ng\n"
             "Exec=%2\n")
      .arg(actionName(), exec);
}

// Written whole or not at all; service menus must be executable to be trusted.
void writeFile(const QString& path, const QString& text, bool executable) {
  if (!QDir().mkpath(QFileInfo(path).absolutePath()))
    throw Exception("Cannot create folder for " + path.toStdString());
  QSaveFile out(path);
  if (!out.open(QIODevice::WriteOnly)) throw Exception("Cannot write " + path.toStdString());
  out.write(text.toUtf8());
  if (!out.commit()) throw Exception("Cannot write " + path.toStdString());
  if (executable)
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                    QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
}

bool onTheUsersOwnMachine() {
  const QString current = QFileInfo(QString::fromStdString(platform::currentMachine().folder()))
                              .canonicalFilePath();  // throws: none open
  const QString own = QFileInfo(QString::fromStdString(platform::defaultMachineFolder())).canonicalFilePath();
  return !current.isEmpty() && current == own;
}

}  // namespace

QStringList FolderActionFiles() {
  return {serviceMenuKf6(), serviceMenuKf5(), nemoAction()};
}

QString DesktopExecArgument(const QString& path) {
  // Inside double quotes a backslash escapes ", `, $ and \; every backslash is
  // then doubled once more by the string escaping of the file; % is written %%.
  QString quoted;
  for (QChar c : path) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  quoted.replace('\\', QStringLiteral("\\\\"));
  quoted.replace('%', QStringLiteral("%%"));
  return '"' + quoted + '"';
}

void InstallFolderAction(const QString& executable) {
  const QString exec = DesktopExecArgument(executable);
  QFile::remove(legacyApplicationsEntry());
  writeFile(serviceMenuKf6(), serviceMenuText(exec), true);
  writeFile(serviceMenuKf5(), serviceMenuText(exec), true);
  writeFile(nemoAction(), nemoActionText(exec), false);
}

void RemoveFolderAction() {
  QFile::remove(legacyApplicationsEntry());
  for (const QString& file : FolderActionFiles()) QFile::remove(file);
}

void SetFolderAction(bool enabled, const QString& executable) {
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
  if (!onTheUsersOwnMachine()) return;
  if (enabled)
    InstallFolderAction(executable);
  else
    RemoveFolderAction();
#else
  (void)enabled;
  (void)executable;
#endif
}

}  // namespace morvin::desktop
