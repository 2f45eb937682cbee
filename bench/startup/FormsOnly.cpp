// What Qt alone spends on the program's windows, the middle mark of the
// whole-process comparison in bench_startup: a Qt program that builds the
// widgets of the eleven windows from the same forms as morvin-ng, in the same
// order and with the same parents, shows the main one and ends once it has
// been painted (MORVIN_CLOSE_WHEN_SHOWN=1). No machine, no registry, no
// pictures, no loads: the difference to morvin-ng is the program's own work.
#include <QApplication>
#include <QDialog>
#include <memory>
#include <vector>

#include "app/CloseAfterFirstPaint.h"
#include "ui_kodDos.h"
#include "ui_kodFoldery.h"
#include "ui_kodIkony.h"
#include "ui_kodMainForm.h"
#include "ui_kodMenuStart.h"
#include "ui_kodPoradnik.h"
#include "ui_kodProgramy.h"
#include "ui_kodPulpit.h"
#include "ui_kodSet.h"
#include "ui_kodWeb.h"
#include "ui_kodWindows.h"

namespace {

// Keeps every form's generated part alive as long as its window.
std::vector<std::shared_ptr<void>> forms;

template <class Form>
void addDialog(QWidget* mainWindow) {
  auto form = std::make_shared<Form>();
  form->setupUi(new QDialog(mainWindow));
  forms.push_back(form);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  auto mainForm = std::make_shared<Ui::TMainForm>();
  QWidget mainWindow;
  mainForm->setupUi(&mainWindow);
  forms.push_back(mainForm);
  addDialog<Ui::TfmPulpit>(&mainWindow);
  addDialog<Ui::TfmWindows>(&mainWindow);
  addDialog<Ui::TfmWeb>(&mainWindow);
  addDialog<Ui::TfmMenuStart>(&mainWindow);
  addDialog<Ui::TfmDos>(&mainWindow);
  addDialog<Ui::TfmFoldery>(&mainWindow);
  addDialog<Ui::TfmIkony>(&mainWindow);
  addDialog<Ui::TfmSet>(&mainWindow);
  addDialog<Ui::TfmProgramy>(&mainWindow);
  addDialog<Ui::TfmSztuczki>(&mainWindow);
  morvin::closeAfterFirstPaintWhenAsked(&mainWindow);
  mainWindow.show();
  return app.exec();
}
