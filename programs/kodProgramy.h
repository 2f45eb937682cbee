// "Zainstalowane programy": browses and edits the system's uninstall list.
// It never runs an uninstaller.
#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

namespace Ui {
class TfmProgramy;
}

namespace morvin {

class TfmProgramy : public QDialog {
  Q_OBJECT

 public:
  explicit TfmProgramy(QWidget* parent = nullptr);
  ~TfmProgramy() override;

  // Loads (or reloads) the list and KluczeProgramow. Throws when a name value
  // is not text; the lines loaded before it are kept.
  void FormCreate();
  // Fills the two fields from every entry whose line shows `line` (the last one wins).
  void PokazProgram(const QString& line);

  // The user's actions; none of them lets a failure escape.
  void ListaClick();
  void Button1Click();  // "Zapisz"
  void Button2Click();  // "Usuń"
  void Button3Click();  // "Przeglądaj..."

  // Subkey name of each line of Lista, line for line.
  const std::vector<std::string>& KluczeProgramow() const { return KluczeProgramow_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int selectedLine() const;
  const std::string& selectedKey() const;  // throws without a selected line
  void save();                             // "Zapisz" steps; throws on any failure
  void remove();                           // "Usuń" steps; throws on any failure
  void showSelectEntryNotice();

  std::unique_ptr<Ui::TfmProgramy> ui;
  int selectedBeforePress_ = -1;  // the line selected when the mouse went down on the list
  std::vector<std::string> KluczeProgramow_;
};

}  // namespace morvin
