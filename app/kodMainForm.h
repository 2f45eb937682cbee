// The main window: a small Windows desktop with a taskbar, a Start button and
// its side menu of the setting categories, a clock, the computer's name, the
// quick-access buttons and the settings picture. It creates the program store.
#pragma once

#include <QString>
#include <QWidget>
#include <memory>

class QLabel;
class QMenu;
class QTimer;

namespace Ui {
class TMainForm;
}

namespace morvin {

class TMainForm : public QWidget {
  Q_OBJECT

 public:
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  // The wallpaper picture `Tapeta` (centred, unscaled). LoadWallpaper throws
  // EFOpenError "Cannot open file %s" and then leaves the picture as it was.
  void LoadWallpaper(const QString& file);
  void ClearWallpaper();
  void SetWallpaperVisible(bool visible);
  bool WallpaperVisible() const;
  bool HasWallpaper() const;

  // The nine quick-access buttons IkPulpit .. IkPoradnik.
  void SetQuickAccessVisible(bool visible);

  // The settings picture `Image3`; throws EFOpenError when the file cannot be shown.
  void LoadSettingsPicture(const QString& file);
  // OU and ZU: the pressed-look and normal-look settings pictures.
  QString PressedSettingsPicture() const { return OU; }
  QString NormalSettingsPicture() const { return ZU; }

  // Installs (enabled) or removes the Explorer folder verb and stores "Integracja".
  void SetShellIntegration(bool enabled);

  bool ClockRunning() const { return clockRunning; }
  QMenu* PopupMenu() const { return MenuK; }
  QTimer* ClockTimer() const { return Czas; }

 signals:
  // The window has closed: the program ends.
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void CreateProgramStore();
  void ShowComputerName();
  void ApplyLook();
  void BuildPopupMenu();
  void FitComputerCaption();  // "Dla:" grows to the left when its translation is longer
  void ConnectControls();

  void SpeedButton1Click();
  void MenuEntryClick(QLabel* entry);
  void Label8Click();  // "Zamknij..."
  void Image3Click();
  void OdswiezClick();
  void WlasciwosciClick();
  void PomocClick();
  void DateTimeDblClick();
  void CzasTimer();
  void HideMenu();
  // The keyboard in the side menu: the highlighted entry has the focus, so
  // screen readers announce it; Up/Down move it, Enter opens it, Esc closes.
  void HighlightMenuEntry(int index);
  bool MenuKey(int key);

  std::unique_ptr<Ui::TMainForm> ui;
  QMenu* MenuK = nullptr;
  QTimer* Czas = nullptr;
  QString OU;  // pressed-look settings picture
  QString ZU;  // normal-look settings picture
  bool clockRunning = true;
  bool centred = false;
  bool startFromKeyboard = false;  // the Start button is being clicked with Space
  int highlighted = -1;            // the menu entry the keyboard stands on
};

// The clock's text for the current local time in the user's long time format.
QString CurrentClockText();
// The user's long time format without its time-zone part.
QString LongTimeFormat();

}  // namespace morvin
