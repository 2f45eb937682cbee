#include "Articles.h"

#include <QCoreApplication>
#include <QDir>

#include "shell/DataPaths.h"
#include "shell/Language.h"

namespace morvin::guide {

QStringList articleNames() {
  // The names are folder names too: each language has its own folders.
  return {QCoreApplication::translate("Articles", "Delphi - Obsługa rejestru"),
          QCoreApplication::translate("Articles", "Rejestr"),
          QCoreApplication::translate("Articles", "Rejestr - W poszukiwaniu danych")};
}

QString articlePath(const QString& name) {
  return QStringLiteral(".\\Poradnik\\") + name + QStringLiteral("\\index.htm");
}

QString articleFile(const QString& name) {
  // "\\" between the folder and index.htm collapses, as the Windows shell does.
  return QDir::cleanPath(localizedDataFile(articlePath(name)));
}

}  // namespace morvin::guide
