#include "Articles.h"

#include <QDir>

#include "shell/DataPaths.h"

namespace morvin::guide {

QStringList articleNames() {
  return {QStringLiteral("Delphi - Obsługa rejestru"), QStringLiteral("Rejestr"),
          QStringLiteral("Rejestr - W poszukiwaniu danych")};
}

QString articlePath(const QString& name) {
  return QStringLiteral(".\\Poradnik\\") + name + QStringLiteral("\\index.htm");
}

QString articleFile(const QString& name) {
  // "\\" between the folder and index.htm collapses, as the Windows shell does.
  return QDir::cleanPath(dataFile(articlePath(name)));
}

}  // namespace morvin::guide
