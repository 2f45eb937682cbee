// The settings window "Ustawienia programu": the colour of the program's
// windows, the main window's wallpaper, the Explorer folder verb and the
// quick-access buttons, with the author's contact links. Its creation applies
// the stored preferences to the windows created before it.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "shell/Binding.h"

namespace Ui {
class TfmSet;
}

namespace morvin {

class TMainForm;

class TfmSet : public QDialog {
  Q_OBJECT

 public:
  explicit TfmSet(QWidget* parent = nullptr);
  ~TfmSet() override;

  // The picture types of the dialog `Open`, as file-dialog filters.
  static QStringList PictureFilters();
  // The mail link's address, subject included.
  static QString MailAddress();

  // The binding table: the seven load steps in order, with the writes of the check boxes.
  std::vector<binding::Row> Bindings();

  // Closing (any way: close button, Escape) runs FormClose first.
  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void FormClose();
  void ConnectControls();
  void StyleLinks();

  void LoadColour(TRegistry& reg);
  void LoadWallpaper(TRegistry& reg);
  void LoadWallpaperHidden(TRegistry& reg);
  void ApplyColour(const QColor& colour);

  void SpeedButton1Click();  // "Zmień kolor", also the sample panel's double-click
  void SpeedButton2Click();  // "Kolor domyślny"
  void SpeedButton3Click();  // "Przeglądaj"
  void SpeedButton4Click();  // "Bez tapety (usuń ...)"
  void CheckBox1Click(TRegistry& reg, bool checked);
  void CheckBox2Click(bool checked);
  void CheckBox3Click(bool checked);
  void Label4Click();
  void Label7Click();
  void LinkHover(QWidget* link, bool inside);

  std::unique_ptr<Ui::TfmSet> ui;
  binding::Engine* engine = nullptr;
  // The colour dialog `kolor`: its current colour as a stored value.
  std::uint32_t kolor = 0;
  // The picture dialog `Open`: its current file name (the last one chosen).
  QString openFileName;
  // The colour last given to the colour set, for a guide window created later.
  QColor appliedColour;
};

// The main window, when it exists.
TMainForm* mainForm();

}  // namespace morvin
