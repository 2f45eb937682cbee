#include "DataPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "Language.h"
#include "ShellService.h"

#ifndef MORVIN_INSTALL_DATADIR
#define MORVIN_INSTALL_DATADIR "/usr/local/share/morvin-ng"
#endif

namespace morvin {

namespace {
QString& overriddenFolder() {
  static QString folder;
  return folder;
}

QString withoutTrailingSeparator(QString path) {
  while (path.size() > 1 && (path.endsWith('/') || path.endsWith('\\'))) path.chop(1);
  return path;
}
}  // namespace

QString executableFolder() {
  return withoutTrailingSeparator(QCoreApplication::applicationDirPath());
}

QString dataFolder() {
  if (!overriddenFolder().isEmpty()) return overriddenFolder();
  const QString beside = executableFolder();
  // A build tree or an unpacked program: the data lies beside the executable.
  if (QFileInfo(beside + QStringLiteral("/Data")).isDir()) return beside;
  // An installed program: bin/../share/morvin-ng.
  const QString shared = QDir::cleanPath(beside + QStringLiteral("/../share/morvin-ng"));
  if (QFileInfo(shared + QStringLiteral("/Data")).isDir()) return shared;
  return withoutTrailingSeparator(QString::fromUtf8(MORVIN_INSTALL_DATADIR));
}

void setDataFolder(const QString& folder) {
  overriddenFolder() = withoutTrailingSeparator(folder);
}

QString dataFile(const QString& relativePath) {
  QString relative = relativePath;
  relative.replace('\\', '/');
  while (relative.startsWith('/')) relative.remove(0, 1);
  return dataFolder() + '/' + relative;
}

void openHelpDocument(QWidget* owner) {
  // Show command 1, not 0: a document opened hidden would be one nobody can see.
  shellService().execute(owner, QStringLiteral("open"), localizedDataFile(QStringLiteral("pomoc\\Help.doc")),
                         SW_SHOWNORMAL_);
}

}  // namespace morvin
