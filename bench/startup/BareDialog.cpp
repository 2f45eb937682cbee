// A bare Qt dialog start, the floor for the whole-process comparison in
// bench_startup: a Qt program that creates its QApplication, shows a dialog
// with a dozen check boxes and ends. With MORVIN_SCREENSHOT=<file> it does
// what morvin-ng does: 1.5 s after showing, it saves a picture of its window,
// says so on stderr and closes the window, which ends the program.
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QDialog dialog;
  dialog.setWindowTitle(QStringLiteral("Bare dialog"));
  auto* layout = new QVBoxLayout(&dialog);
  for (int i = 0; i < 12; ++i) layout->addWidget(new QCheckBox(QStringLiteral("Pole %1").arg(i), &dialog));
  dialog.show();

  const QString shot = qEnvironmentVariable("MORVIN_SCREENSHOT");
  if (!shot.isEmpty()) {
    QTimer::singleShot(1500, &dialog, [&dialog, shot] {
      const bool saved = dialog.grab().save(shot);
      std::fprintf(stderr, saved ? "bench_bare_dialog: saved %s\n" : "bench_bare_dialog: could not save %s\n",
                   shot.toLocal8Bit().constData());
      dialog.close();
    });
  }
  return app.exec();
}
