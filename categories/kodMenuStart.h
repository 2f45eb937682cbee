// "Pasek zadań i Menu Start": Start menu and taskbar policies shown on a
// picture of a Start menu, the system tray fix, the Control Panel folder in
// the Start Menu, the machine's autostart list and the submenu delay.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class TfmMenuStart;
}
namespace morvin::binding {
class Engine;
}

namespace morvin {

class TfmMenuStart : public QDialog {
  Q_OBJECT

 public:
  explicit TfmMenuStart(QWidget* parent = nullptr);
  ~TfmMenuStart() override;

  // Loads every binding once; the window never reloads.
  void FormCreate();

  // Special actions (the check boxes are written by the binding table).
  void BitBtn1Click();  // "Usuń błąd"
  void BitBtn2Click();  // Control Panel folder in the Start Menu
  void BitBtn3Click();  // "Usuń element Autostartu"
  void Button1Click();  // "Lista zainstalowanych programów"
  void Button2Click();  // "Zastosuj"

  // The Programs entry of the picture: bpp.bmp while subfolders are hidden,
  // soft.bmp otherwise. Throws "Cannot open file ..." when the file is missing.
  void showProgramsPicture(bool subfoldersHidden);

  // The folder "C:\Windows\Menu Start\<name>.{21EC2020-...}" that the shell
  // shows as the Control Panel ("Start Menu" on an English system); `name` in cp1250.
  static std::string controlPanelFolder(const std::string& name);

 private:
  void loadDesignPictures();

  std::unique_ptr<Ui::TfmMenuStart> ui;
  binding::Engine* engine_ = nullptr;
  bool subfoldersHidden_ = false;  // which Programs picture shows
};

}  // namespace morvin
