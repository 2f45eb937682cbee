#include "kodMainForm.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QTime>
#include <QTimer>
#include <algorithm>
#include <array>
#include <utility>

#include "LabelClicks.h"
#include "LinuxIntegration.h"
#include "history/kodHistoria.h"
#include "machines/kodMaszyny.h"
#include "pictures/PictureFiles.h"
#include "pictures/Pictures.h"
#include "platform/SystemLanguage.h"
#include "registry/Cp1250.h"
#include "registry/TRegistry.h"
#include "shell/DataPaths.h"
#include "shell/DialogService.h"
#include "shell/Guard.h"
#include "shell/Language.h"
#include "shell/ShellService.h"
#include "shell/StorablePath.h"
#include "shell/SystemColours.h"
#include "shell/Text.h"
#include "shell/WindowFactories.h"
#include "shell/WindowSet.h"
#include "ui_kodMainForm.h"

namespace morvin {

namespace {

// The program store: created (when missing) at every start, in this order.
constexpr std::array<const char*, 9> kProgramStoreKeys = {
    "Software\\Morvin",        "Software\\Morvin\\Pulpit",     "Software\\Morvin\\Foldery",
    "Software\\Morvin\\Ikony", "Software\\Morvin\\Menu Start", "Software\\Morvin\\Windows",
    "Software\\Morvin\\Web",   "Software\\Morvin\\MsDos",      "Software\\Morvin\\Ustawienia"};

constexpr const char* kComputerNameKey = "System\\CurrentControlSet\\Control\\ComputerName\\ComputerName";
constexpr const char* kSettingsKey = "Software\\Morvin\\Ustawienia";
constexpr const char* kVerbParentKey = "Software\\CLASSES\\Directory\\shell";
constexpr const char* kVerbKey = "Software\\CLASSES\\Directory\\shell\\Morvin NG";
constexpr const char* kVerbCommandKey = "Software\\CLASSES\\Directory\\shell\\Morvin NG\\command";
constexpr const char* kDateTimeCommand = "rundll32 shell32,Control_RunDLL timedate.cpl";

struct MenuEntry {
  const char* label;
  WindowId window;  // Count: not a window (help, close)
};
constexpr std::array<MenuEntry, 10> kMenuEntries = {{{"Label1", WindowId::Pulpit},
                                                     {"Label2", WindowId::Foldery},
                                                     {"Label4", WindowId::Ikony},
                                                     {"Label5", WindowId::MenuStart},
                                                     {"Label6", WindowId::Windows},
                                                     {"Label7", WindowId::Web},
                                                     {"Label9", WindowId::Dos},
                                                     {"Label3", WindowId::Sztuczki},
                                                     {"Label10", WindowId::Count},
                                                     {"Label8", WindowId::Count}}};

struct QuickButton {
  const char* button;
  WindowId window;
};
constexpr std::array<QuickButton, 9> kQuickButtons = {{{"IkPulpit", WindowId::Pulpit},
                                                       {"IkFoldery", WindowId::Foldery},
                                                       {"IkIkony", WindowId::Ikony},
                                                       {"IkPasek", WindowId::MenuStart},
                                                       {"IkWindows", WindowId::Windows},
                                                       {"IkSiec", WindowId::Web},
                                                       {"IkMsDOS", WindowId::Dos},
                                                       {"IkLista", WindowId::Programy},
                                                       {"IkPoradnik", WindowId::Sztuczki}}};

QFont verdana(int pixelSize, bool bold) {
  QFont font;
  font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

// The popup menu's entries are made in code: their texts follow the language here.
void namePopupMenu(QMenu* menu) {
  const std::pair<const char*, const char*> entries[] = {
      {"Odswiez1", QT_TRANSLATE_NOOP("TMainForm", "Odśwież")},
      {"Pomoc1", QT_TRANSLATE_NOOP("TMainForm", "Pomoc")},
      {"Wlasciwosci1", QT_TRANSLATE_NOOP("TMainForm", "Właściwości")},
      {"HistoriaZmian1", QT_TRANSLATE_NOOP("TMainForm", "Historia zmian...")},
      {"Maszyny1", QT_TRANSLATE_NOOP("TMainForm", "Maszyny...")}};
  for (const auto& [name, text] : entries)
    menu->findChild<QAction*>(QLatin1String(name))->setText(QCoreApplication::translate("TMainForm", text));
}

}  // namespace

QString LongTimeFormat() {
  // Drop the time-zone letters (outside quoted text) and the blanks they leave.
  const QString format = QLocale::system().timeFormat(QLocale::LongFormat);
  QString result;
  bool quoted = false;
  for (QChar c : format) {
    if (c == '\'') quoted = !quoted;
    if (!quoted && c == 't') continue;
    result += c;
  }
  return result.trimmed();
}

QString CurrentClockText() {
  return QLocale::system().toString(QTime::currentTime(), LongTimeFormat());
}

TMainForm::TMainForm(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TMainForm>()) {
  ui->setupUi(this);
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(632, 453);
  OU = dataFile(QStringLiteral("Data\\Gfx\\Bmp\\Ustawienie2.Bmp"));
  ZU = dataFile(QStringLiteral("Data\\Gfx\\Bmp\\Ustawienie.bmp"));
  ApplyLook();
  BuildPopupMenu();
  ConnectControls();
  retranslateOnLanguageChange(this, [this] {
    ui->retranslateUi(this);
    namePopupMenu(MenuK);
    FitComputerCaption();
  });
  Czas = new QTimer(this);
  Czas->setObjectName(QStringLiteral("Czas"));
  Czas->setInterval(1000);
  connect(Czas, &QTimer::timeout, this, [this] { unguarded([this] { CzasTimer(); }); });
  Czas->start();
  unguarded([this] { FormCreate(); });
}

TMainForm::~TMainForm() = default;

void TMainForm::ApplyLook() {
  setBackgroundColour(this, systemColour(1));  // the teal desktop
  const QColor buttonFace = systemColour(syscolour::ButtonFace);
  setBackgroundColour(ui->Pasek, buttonFace);
  setBackgroundColour(ui->Menu, buttonFace);
  ui->SpeedButton1->setFont(verdana(11, true));
  ui->SpeedButton1->setIcon(
      QIcon(LoadPictureOrNothing(dataFile(QStringLiteral("Data\\Gfx\\Bmp\\Pulpit\\Start.bmp")))));
  ui->SpeedButton1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  ui->Image1->setPixmap(LoadPictureOrNothing(dataFile(QStringLiteral("Data\\Gfx\\Bmp\\Pulpit\\Menu.bmp"))));
  ui->Image2->setPixmap(LoadPictureOrNothing(dataFile(QStringLiteral("Data\\Gfx\\Bmp\\Pulpit\\Zegar.bmp"))));
  ui->Image3->setPixmap(LoadPictureOrNothing(ZU));
  ui->Zegar->setFont(verdana(19, true));
  setTextColour(ui->Zegar, QColor(0x000080));  // navy
  for (QLabel* label : {ui->Label11, ui->nazwa}) {
    label->setFont(verdana(11, true));
    setTextColour(label, Qt::white);
  }
  FitComputerCaption();
  for (const MenuEntry& entry : kMenuEntries) {
    auto* label = findChild<QLabel*>(QString::fromLatin1(entry.label));
    label->setFont(verdana(19, false));
    setTextColour(label, systemColour(syscolour::WindowText));
    setBackgroundColour(label, buttonFace);
  }
}

void TMainForm::FitComputerCaption() {
  constexpr int kFormWidth = 32;  // the form's width, which the Polish caption fits
  QLabel* caption = ui->Label11;
  const int width = std::max(kFormWidth, caption->fontMetrics().horizontalAdvance(caption->text()) + 2);
  caption->setGeometry(ui->nazwa->x() - 2 - width, caption->y(), width, caption->height());
}

void TMainForm::BuildPopupMenu() {
  MenuK = new QMenu(this);
  MenuK->setObjectName(QStringLiteral("MenuK"));
  QAction* refresh = MenuK->addAction(QString());
  refresh->setObjectName(QStringLiteral("Odswiez1"));
  QAction* help = MenuK->addAction(QString());
  help->setObjectName(QStringLiteral("Pomoc1"));
  QAction* properties = MenuK->addAction(QString());
  properties->setObjectName(QStringLiteral("Wlasciwosci1"));
  // The machines beside the history, which stays the last entry.
  QAction* machines = MenuK->addAction(QString());
  machines->setObjectName(QStringLiteral("Maszyny1"));
  QAction* history = MenuK->addAction(QString());
  history->setObjectName(QStringLiteral("HistoriaZmian1"));
  namePopupMenu(MenuK);
  connect(refresh, &QAction::triggered, this, [this] { unguarded([this] { OdswiezClick(); }); });
  connect(help, &QAction::triggered, this, [this] { unguarded([this] { PomocClick(); }); });
  connect(properties, &QAction::triggered, this, [this] { unguarded([this] { WlasciwosciClick(); }); });
  connect(history, &QAction::triggered, this, [this] { unguarded([this] { showHistoryWindow(this); }); });
  connect(machines, &QAction::triggered, this, [this] { unguarded([this] { showMachinesWindow(this); }); });
}

void TMainForm::ConnectControls() {
  connect(ui->SpeedButton1, &QToolButton::clicked, this,
          [this] { unguarded([this] { SpeedButton1Click(); }); });
  for (const QuickButton& quick : kQuickButtons) {
    auto* button = findChild<QToolButton*>(QString::fromLatin1(quick.button));
    const WindowId id = quick.window;
    connect(button, &QToolButton::clicked, this, [id] { unguarded([id] { showModal(id); }); });
  }
  for (const MenuEntry& entry : kMenuEntries)
    findChild<QLabel*>(QString::fromLatin1(entry.label))->installEventFilter(this);
  ui->SpeedButton1->installEventFilter(this);
  for (QWidget* w : {static_cast<QWidget*>(ui->Image3), static_cast<QWidget*>(ui->Image2),
                     static_cast<QWidget*>(ui->Zegar)})
    w->installEventFilter(this);
}

void TMainForm::FormCreate() {
  CreateProgramStore();
  ui->Zegar->setText(CurrentClockText());
  ShowComputerName();
}

void TMainForm::CreateProgramStore() {
  TRegistry reg;
  reg.SelectRoot(reg::kCurrentUser);
  for (const char* key : kProgramStoreKeys)
    if (reg.OpenPath(key, true)) reg.ClosePath();  // a key that cannot be created is skipped
}

void TMainForm::ShowComputerName() {
  guarded([this] {
    TRegistry reg;
    reg.SelectRoot(reg::kLocalMachine);
    reg.OpenPath(kComputerNameKey, false);
    ui->nazwa->setText(fromAnsi(reg.ReadText("ComputerName")));
    reg.ClosePath();
  });
}

void TMainForm::LoadWallpaper(const QString& file) {
  ui->Tapeta->setPixmap(LoadPictureFile(file));  // also JPEG images and metafiles
}
void TMainForm::ClearWallpaper() {
  ui->Tapeta->setPixmap(QPixmap());
}
void TMainForm::SetWallpaperVisible(bool visible) {
  ui->Tapeta->setVisible(visible);
}
bool TMainForm::WallpaperVisible() const {
  return !ui->Tapeta->isHidden();
}
bool TMainForm::HasWallpaper() const {
  return !ui->Tapeta->pixmap().isNull();
}

void TMainForm::SetQuickAccessVisible(bool visible) {
  for (const QuickButton& quick : kQuickButtons)
    findChild<QToolButton*>(QString::fromLatin1(quick.button))->setVisible(visible);
}

void TMainForm::LoadSettingsPicture(const QString& file) {
  ui->Image3->setPixmap(LoadPicture(file));
}

void TMainForm::SetShellIntegration(bool enabled) {
  bool stored = false;
  guarded([this, enabled, &stored] {
    TRegistry reg;
    reg.OpenPath(kSettingsKey, false);
    reg.WriteFlag("Integracja", enabled);
    stored = true;
    reg.ClosePath();
    reg.SelectRoot(reg::kLocalMachine);
    if (enabled) {
      // A program path the registry cannot hold exactly would give a verb that starts nothing.
      const std::optional<std::string> program = storablePath(this, QCoreApplication::applicationFilePath());
      if (!program) return;
      reg.OpenPath(kVerbKey, true);
      // The verb's name is the system's: Explorer shows it in the system's language.
      const bool english = platform::currentSystemLanguage() == platform::SystemLanguage::English;
      reg.WriteText("", english ? "Start Morvin NG" : cp1250::fromUtf8("Uruchom Morvin NG"));
      reg.ClosePath();
      reg.OpenPath(kVerbCommandKey, true);
      reg.WriteText("", *program);
      reg.ClosePath();
    } else if (reg.OpenPath(kVerbParentKey, false)) {
      // Only below the shell key: with it missing, the bare name would be taken from the root.
      reg.RemoveKeyTree("Morvin NG");
      reg.ClosePath();
    }
  });
  // The same switch gives file managers on Linux their folder action; a
  // switch that could not be stored leaves it as it was.
  if (stored)
    guarded([enabled] { desktop::SetFolderAction(enabled, QCoreApplication::applicationFilePath()); });
}

void TMainForm::HideMenu() {
  HighlightMenuEntry(-1);
  ui->Menu->hide();
}

void TMainForm::SpeedButton1Click() {
  const bool fromKeyboard = std::exchange(startFromKeyboard, false);
  if (!ui->Menu->isHidden()) return HideMenu();
  ui->Menu->show();
  if (fromKeyboard) HighlightMenuEntry(0);
}

void TMainForm::HighlightMenuEntry(int index) {
  const auto entryLabel = [this](int i) {
    return findChild<QLabel*>(QString::fromLatin1(kMenuEntries[i].label));
  };
  if (highlighted >= 0) setBackgroundColour(entryLabel(highlighted), systemColour(syscolour::ButtonFace));
  highlighted = index;
  if (index < 0) return;
  QLabel* entry = entryLabel(index);
  setBackgroundColour(entry, systemColour(syscolour::CaptionText));  // as under the pointer
  entry->setFocus(Qt::TabFocusReason);
}

bool TMainForm::MenuKey(int key) {
  const int count = static_cast<int>(kMenuEntries.size());
  switch (key) {
    case Qt::Key_Down:
      HighlightMenuEntry((highlighted + 1) % count);
      return true;
    case Qt::Key_Up:
      HighlightMenuEntry((highlighted + count - 1) % count);
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space: {
      auto* entry = findChild<QLabel*>(QString::fromLatin1(kMenuEntries[highlighted].label));
      ui->SpeedButton1->setFocus(Qt::OtherFocusReason);
      unguarded([this, entry] { MenuEntryClick(entry); });
      return true;
    }
    case Qt::Key_Escape:
      HideMenu();
      ui->SpeedButton1->setFocus(Qt::OtherFocusReason);
      return true;
    default:
      return false;
  }
}

void TMainForm::MenuEntryClick(QLabel* entry) {
  HideMenu();
  const QString name = entry->objectName();
  if (name == QLatin1String("Label8")) return Label8Click();
  if (name == QLatin1String("Label10")) return openHelpDocument(this);
  for (const MenuEntry& e : kMenuEntries)
    if (name == QLatin1String(e.label)) showModal(e.window);
}

void TMainForm::Label8Click() {
  const Answer answer =
      dialogs().question(this, QStringLiteral("Information"), tr("Czy napewno chcesz zakończyć program ?"),
                         MsgIcon::Information);
  if (answer == Answer::Yes) close();
}

void TMainForm::Image3Click() {
  LoadSettingsPicture(OU);  // a missing picture ends the click here, in the error box
  showModal(WindowId::Set);
}

void TMainForm::OdswiezClick() {
  repaint();
}
void TMainForm::WlasciwosciClick() {
  showModal(WindowId::Set);
}

void TMainForm::PomocClick() {
  HideMenu();
  openHelpDocument(this);
}

void TMainForm::DateTimeDblClick() {
  shellService().winExec(QString::fromLatin1(kDateTimeCommand), SW_SHOW_);
}

void TMainForm::CzasTimer() {
  if (clockRunning) ui->Zegar->setText(CurrentClockText());
}

void TMainForm::closeEvent(QCloseEvent* event) {
  clockRunning = false;  // closing is never refused
  event->accept();
  emit closed();
}

void TMainForm::mousePressEvent(QMouseEvent* event) {
  // Only a press on the bare background, where no picture or control lies.
  if (!childAt(event->position().toPoint())) HideMenu();
  QWidget::mousePressEvent(event);
}

void TMainForm::contextMenuEvent(QContextMenuEvent* event) {
  MenuK->popup(event->globalPos());
  event->accept();
}

void TMainForm::showEvent(QShowEvent* event) {
  if (!centred) {
    centred = true;
    if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
      QRect frame = frameGeometry();
      frame.moveCenter(screen->availableGeometry().center());
      move(frame.topLeft());
    }
  }
  QWidget::showEvent(event);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  auto* w = qobject_cast<QWidget*>(watched);
  if (!w) return false;
  if (w == ui->Image3) {
    if (isLeftClickInside(w, event)) unguarded([this] { Image3Click(); });
    return false;
  }
  if (w == ui->Image2 || w == ui->Zegar) {
    if (event->type() == QEvent::MouseButtonDblClick) unguarded([this] { DateTimeDblClick(); });
    return false;
  }
  if (w == ui->SpeedButton1) {
    // Space clicks the button when it is let go, right after this.
    if (event->type() == QEvent::KeyRelease)
      startFromKeyboard = static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space;
    if (event->type() == QEvent::MouseButtonPress) startFromKeyboard = false;
    return false;
  }
  if (auto* label = qobject_cast<QLabel*>(w); label && label->parentWidget() == ui->Menu) {
    if (event->type() == QEvent::KeyPress && highlighted >= 0 &&
        MenuKey(static_cast<QKeyEvent*>(event)->key()))
      return true;
    if (event->type() == QEvent::Enter) setBackgroundColour(label, systemColour(syscolour::CaptionText));
    if (event->type() == QEvent::Leave) setBackgroundColour(label, systemColour(syscolour::ButtonFace));
    if (isLeftClickInside(label, event)) unguarded([this, label] { MenuEntryClick(label); });
  }
  return false;
}

QWidget* createTMainForm() {
  auto* form = new TMainForm();
  form->setObjectName(QStringLiteral("MainForm"));
  registerWindow(WindowId::MainForm, form);
  return form;
}

}  // namespace morvin
