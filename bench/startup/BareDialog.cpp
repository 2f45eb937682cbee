// A bare Qt dialog start, the floor for the whole-process comparison in
// bench_startup: a Qt program that creates its QApplication, shows a dialog
// with a dozen check boxes and, with MORVIN_CLOSE_WHEN_SHOWN=1, ends as
// morvin-ng does: once its window has been painted for the first time.
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QVBoxLayout>

#include "app/CloseAfterFirstPaint.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QDialog dialog;
  dialog.setWindowTitle(QStringLiteral("Bare dialog"));
  auto* layout = new QVBoxLayout(&dialog);
  for (int i = 0; i < 12; ++i) layout->addWidget(new QCheckBox(QStringLiteral("Pole %1").arg(i), &dialog));
  morvin::closeAfterFirstPaintWhenAsked(&dialog);
  dialog.show();
  return app.exec();
}
