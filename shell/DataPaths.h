// Where the program's data lies: the executable's folder when it holds Data/,
// else the installed share folder.
#pragma once

#include <QString>

class QWidget;

namespace morvin {

QString executableFolder();                 // no trailing separator
QString dataFolder();                       // no trailing separator
void setDataFolder(const QString& folder);  // tests and the screenshot tool
// A data file by its Windows-style relative path ("Data\\Gfx\\Bmp\\Ustawienie.bmp").
QString dataFile(const QString& relativePath);

// Opens pomoc\Help.doc through the shell service (the main window's help action).
void openHelpDocument(QWidget* owner);

}  // namespace morvin
