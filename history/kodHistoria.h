// "Historia zmian": the journal of every change the program and morvin-reg
// made, newest first, read a page at a time (history/JournalModel.h); takes
// changes back, forgets old ones and saves the changes as a .reg file.
#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "JournalModel.h"
#include "registry/JournalHistory.h"

namespace Ui {
class TfmHistoria;
}

namespace morvin {

class TfmHistoria : public QDialog {
  Q_OBJECT

 public:
  explicit TfmHistoria(QWidget* parent = nullptr);
  ~TfmHistoria() override;

  // Reads the journal again and shows the entries the filter lets through.
  void Odswiez();
  void FiltrChange();
  void Button1Click();      // "Cofnij zaznaczone"
  void Button2Click();      // "Cofnij wszystkie"
  void Button3Click();      // "Zapisz zmiany jako plik .reg..."
  void ForgetOlderClick();  // "Zapomnij starsze..."

  // The entries shown, line for line (fetched as the list scrolls).
  JournalModel& model() { return *model_; }

 private:
  void nameHeader();
  void fillSources();
  void fillList();
  std::vector<std::int64_t> selectedIds() const;
  // After changes were taken back: the windows and this list show the state now.
  void afterUndo(const std::vector<reg::journal::UndoFailure>& failures);

  std::unique_ptr<Ui::TfmHistoria> ui;
  JournalModel* model_ = nullptr;
};

// Shows the window modally (a new one each time), over `parent`.
void showHistoryWindow(QWidget* parent);

}  // namespace morvin
