// "Historia zmian": the journal of every change the program and morvin-reg
// made, newest first; takes changes back and saves them as a .reg file.
#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "registry/Journal.h"

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
  void Button1Click();  // "Cofnij zaznaczone"
  void Button2Click();  // "Cofnij wszystkie"
  void Button3Click();  // "Zapisz zmiany jako plik .reg..."

  // The entries shown, line for line.
  const std::vector<reg::journal::Entry>& shownEntries() const { return shown_; }

 private:
  void nameHeader();
  void fillSources();
  void fillList();
  // After changes were taken back: the windows and this list show the state now.
  void afterUndo(const std::vector<std::string>& failures);

  std::unique_ptr<Ui::TfmHistoria> ui;
  std::vector<reg::journal::Entry> entries_;
  std::vector<reg::journal::Entry> shown_;
};

// Shows the window modally (a new one each time), over `parent`.
void showHistoryWindow(QWidget* parent);

}  // namespace morvin
