#include "TranslationWalk.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRegularExpression>
#include <QTableWidget>
#include <QWidget>
#include <QXmlStreamReader>

namespace morvin::test {

TranslationFile readTranslationFile(const QString& path) {
  TranslationFile file;
  QFile ts(path);
  if (!ts.open(QIODevice::ReadOnly)) return file;
  QXmlStreamReader xml(&ts);
  QString source;
  while (!xml.atEnd()) {
    if (!xml.readNextStartElement()) continue;
    if (xml.name() == QLatin1String("source")) {
      source = xml.readElementText();
    } else if (xml.name() == QLatin1String("translation")) {
      const bool unfinished = xml.attributes().value(QLatin1String("type")) == QLatin1String("unfinished");
      const QString english = xml.readElementText();
      if (unfinished || english.isEmpty()) ++file.unfinished;
      file.translations[source].insert(english);
    }
  }
  return file;
}

namespace {

QString pathOf(QObject* object, QWidget* window) {
  QString path = object->objectName();
  for (QObject* p = object->parent(); p && p != window; p = p->parent()) path = p->objectName() + '/' + path;
  return path;
}

void put(QMap<QString, QString>& texts, const QString& where, const QString& text) {
  if (text.contains(QRegularExpression(QStringLiteral("\\p{L}")))) texts.insert(where, text);
}

}  // namespace

QMap<QString, QString> shownTexts(QWidget* window) {
  QMap<QString, QString> texts;
  QList<QWidget*> widgets = window->findChildren<QWidget*>();
  widgets.prepend(window);
  for (QWidget* w : widgets) {
    // Qt's own inner parts (a combo box's list, a spin box's edit) have no designer name.
    if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_"))) continue;
    if (w->property("morvinNames").toBool()) continue;  // names of things, the same in every language
    const QString at = pathOf(w, window);
    if (w->isWindow()) put(texts, at + "/windowTitle", w->windowTitle());
    put(texts, at + "/toolTip", w->toolTip());
    put(texts, at + "/accessibleName", w->accessibleName());
    if (auto* b = qobject_cast<QAbstractButton*>(w)) put(texts, at + "/text", b->text());
    if (auto* l = qobject_cast<QLabel*>(w)) put(texts, at + "/text", l->text());
    if (auto* g = qobject_cast<QGroupBox*>(w)) put(texts, at + "/title", g->title());
    if (auto* e = qobject_cast<QLineEdit*>(w)) put(texts, at + "/placeholder", e->placeholderText());
    if (auto* c = qobject_cast<QComboBox*>(w)) {
      for (int i = 0; i < c->count(); ++i) put(texts, at + "/item" + QString::number(i), c->itemText(i));
      if (c->currentIndex() < 0) put(texts, at + "/prompt", c->currentText());
    }
    if (auto* t = qobject_cast<QTableWidget*>(w)) {
      for (int i = 0; i < t->columnCount(); ++i)
        if (t->horizontalHeaderItem(i))
          put(texts, at + "/header" + QString::number(i), t->horizontalHeaderItem(i)->text());
      for (int row = 0; row < t->rowCount(); ++row)
        for (int column = 0; column < t->columnCount(); ++column)
          if (QTableWidgetItem* item = t->item(row, column))
            put(texts, at + QStringLiteral("/cell%1,%2").arg(row).arg(column), item->text());
    }
    if (auto* l = qobject_cast<QListWidget*>(w))
      for (int i = 0; i < l->count(); ++i) put(texts, at + "/entry" + QString::number(i), l->item(i)->text());
    for (QAction* a : w->findChildren<QAction*>(Qt::FindDirectChildrenOnly))
      if (!a->objectName().isEmpty()) put(texts, at + '/' + a->objectName() + "/text", a->text());
  }
  return texts;
}

QString plainCaption(QString caption) {
  caption.remove(QRegularExpression(QStringLiteral("&(?!&)")));
  return caption.simplified();
}

}  // namespace morvin::test
