#include <QDialog>

#include "WindowFactories.h"

namespace morvin {

QWidget* createPlainWindow(QWidget* parent, const char* objectName, const char* utf8Caption, int width,
                           int height) {
  auto* dialog = new QDialog(parent);
  dialog->setObjectName(QString::fromLatin1(objectName));
  dialog->setWindowTitle(QString::fromUtf8(utf8Caption));
  dialog->resize(width, height);
  return dialog;
}

}  // namespace morvin
