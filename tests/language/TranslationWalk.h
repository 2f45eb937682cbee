// What the English tests read: the translation file's entries and the texts
// every widget of a window shows, keyed by where they stand.
#pragma once

#include <QMap>
#include <QSet>
#include <QString>

class QWidget;

namespace morvin::test {

struct TranslationFile {
  QMap<QString, QSet<QString>> translations;  // Polish source -> its English texts (all contexts)
  int unfinished = 0;                         // entries marked unfinished or left empty
};
TranslationFile readTranslationFile(const QString& path);

// "objectPath/property" -> text, for captions, titles, tooltips, accessible
// names, list entries, table headers and cells and actions of a window and its children;
// a widget marked with the property morvinNames shows names and is left out.
QMap<QString, QString> shownTexts(QWidget* window);

// A caption as its accessible name gives it: no accelerator mark, one line, trimmed.
QString plainCaption(QString caption);

}  // namespace morvin::test
