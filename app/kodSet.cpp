#include "kodSet.h"

#include <QEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTimer>

#include "ColourSet.h"
#include "LabelClicks.h"
#include "history/kodHistoria.h"
#include "kodMainForm.h"
#include "machines/kodMaszyny.h"
#include "registry/TRegistry.h"
#include "registry/WinReg.h"
#include "shell/DialogService.h"
#include "shell/Guard.h"
#include "shell/Language.h"
#include "shell/ShellService.h"
#include "shell/StorablePath.h"
#include "shell/SystemColours.h"
#include "shell/Text.h"
#include "shell/WindowFactories.h"
#include "shell/WindowSet.h"
#include "ui_kodSet.h"

namespace morvin {

namespace {

constexpr const char* kSettingsKey = "Software\\Morvin\\Ustawienia";
constexpr const char* kAuthorMail = "morvin@example.org";

// The links' colours in the toolkit's 0x00BBGGRR notation: red while hovered, blue otherwise.
const QColor kLinkHovered = colourFromStored(0x0000FF);
const QColor kLinkNormal = colourFromStored(0xFF0000);

// Opens the settings key without creation; a missing key leaves none open,
// so the write that follows fails as the registry layer says.
void openSettings(TRegistry& reg) {
  reg.SelectRoot(reg::kCurrentUser);
  reg.OpenPath(kSettingsKey, false);
}

}  // namespace

TMainForm* mainForm() {
  return qobject_cast<TMainForm*>(window(WindowId::MainForm));
}

QStringList TfmSet::PictureFilters() {
  return {tr("Wszystkie obrazy (*.bmp *.ico *.wmf *.emf *.jpg *.jpeg)"),
          tr("Mapy bitowe (*.bmp)"),
          tr("Ikony (*.ico)"),
          tr("Metapliki (*.wmf)"),
          tr("Rozszerzone metapliki (*.emf)"),
          tr("Obrazy JPEG (*.jpg *.jpeg)")};
}

QString TfmSet::MailAddress() {
  return QStringLiteral("mailto:") + QString::fromLatin1(kAuthorMail) + QStringLiteral("?Subject=Morvin NG");
}

std::vector<binding::Row> TfmSet::Bindings() {
  constexpr reg::Key HKCU = reg::kCurrentUser;
  // Steps 1-3 and 5 set no check box: custom loads (step 5 fills the edit box).
  binding::Row colour{nullptr, HKCU, kSettingsKey, "Kolor", binding::Load::Custom, binding::Write::None};
  colour.customLoad = [this](TRegistry& reg, QWidget*) { LoadColour(reg); };
  binding::Row wallpaper{nullptr, HKCU, kSettingsKey, "Tapeta", binding::Load::Custom, binding::Write::None};
  wallpaper.customLoad = [this](TRegistry& reg, QWidget*) { LoadWallpaper(reg); };
  binding::Row hidden{
      nullptr, HKCU, kSettingsKey, "Ukrycie tapety", binding::Load::Custom, binding::Write::None};
  hidden.customLoad = [this](TRegistry& reg, QWidget*) { LoadWallpaperHidden(reg); };

  // CheckBox1 hides the wallpaper before it writes (unguarded).
  binding::Row noWallpaper{"CheckBox1",           HKCU, kSettingsKey, "Ukrycie tapety", binding::Load::Flag,
                           binding::Write::Custom};
  noWallpaper.customWrite = [this](TRegistry& reg, QWidget*, const QVariant& state) {
    CheckBox1Click(reg, state.toBool());
  };
  binding::Row pathText{
      "path", HKCU, kSettingsKey, "Tapeta", binding::Load::TextIntoControl, binding::Write::None};
  // CheckBox2 hands its state to the main window (guarded).
  binding::Row integration{"CheckBox2",           HKCU, kSettingsKey, "Integracja", binding::Load::Flag,
                           binding::Write::Custom};
  integration.guarded = true;
  integration.customWrite = [this](TRegistry&, QWidget*, const QVariant& state) {
    CheckBox2Click(state.toBool());
  };
  // CheckBox3 writes "QuickRun" (unguarded), then shows or hides the buttons.
  binding::Row quickRun{"CheckBox3",         HKCU, kSettingsKey, "QuickRun", binding::Load::Flag,
                        binding::Write::Flag};
  quickRun.after = [this](QWidget*, const QVariant& state) { CheckBox3Click(state.toBool()); };

  // The program's language: the list shows the language in use (also one chosen
  // for this run only); a choice is stored and takes effect in every window at once.
  binding::Row language{
      "Jezyk", HKCU, kSettingsKey, kLanguageValue, binding::Load::Custom, binding::Write::Custom};
  language.customLoad = [this](TRegistry&, QWidget*) {
    const QSignalBlocker quiet(ui->Jezyk);
    ui->Jezyk->setCurrentIndex(currentLanguage() == Language::English ? 1 : 0);
  };
  language.customWrite = [this](TRegistry& reg, QWidget*, const QVariant&) {
    const Language chosen = ui->Jezyk->currentIndex() == 1 ? Language::English : Language::Polish;
    reg.WriteText(kLanguageValue, toAnsi(languageCode(chosen)));
    setLanguage(chosen);
  };

  return {colour, wallpaper, hidden, noWallpaper, pathText, integration, quickRun, language};
}

TfmSet::TfmSet(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfmSet>()) {
  ui->setupUi(this);
  retranslateOnLanguageChange(this, [this] { ui->retranslateUi(this); });
  setObjectName(QStringLiteral("fmSet"));
  // A sizeable tool window; as a dialog with the main window as parent it opens centred on it.
  setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  StyleLinks();
  ConnectControls();
  engine = new binding::Engine(this, Bindings());
  unguarded([this] { FormCreate(); });
}

TfmSet::~TfmSet() = default;

void TfmSet::StyleLinks() {
  for (QLabel* link : {ui->Label4, ui->Label7}) {
    QFont font = link->font();
    font.setUnderline(true);
    link->setFont(font);
    setTextColour(link, kLinkNormal);
    link->setMouseTracking(true);
    link->installEventFilter(this);
  }
  ui->Label4->setCursor(Qt::PointingHandCursor);
  QFont bold = ui->Label1->font();
  bold.setBold(true);
  ui->Label1->setFont(bold);
  ui->panel->installEventFilter(this);
}

void TfmSet::ConnectControls() {
  connect(ui->SpeedButton1, &QToolButton::clicked, this,
          [this] { unguarded([this] { SpeedButton1Click(); }); });
  connect(ui->SpeedButton2, &QToolButton::clicked, this,
          [this] { guarded([this] { SpeedButton2Click(); }); });
  connect(ui->SpeedButton3, &QToolButton::clicked, this,
          [this] { unguarded([this] { SpeedButton3Click(); }); });
  connect(ui->SpeedButton4, &QToolButton::clicked, this,
          [this] { unguarded([this] { SpeedButton4Click(); }); });
  connect(ui->HistoriaZmian, &QPushButton::clicked, this,
          [this] { unguarded([this] { showHistoryWindow(this); }); });
  connect(ui->Maszyny, &QPushButton::clicked, this,
          [this] { unguarded([this] { showMachinesWindow(this); }); });
}

void TfmSet::FormCreate() {
  engine->start();
}

// Step 1: the stored colour becomes the colour dialog's and every member's.
void TfmSet::LoadColour(TRegistry& reg) {
  kolor = static_cast<std::uint32_t>(reg.ReadNumber("Kolor"));
  ApplyColour(colourFromStored(kolor));
  // The guide window is created right after this one: it takes the colour as
  // soon as the start-up has finished creating windows.
  if (!morvin::window(WindowId::Sztuczki))
    QTimer::singleShot(0, this, [this] {
      if (appliedColour.isValid()) setBackgroundColour(morvin::window(WindowId::Sztuczki), appliedColour);
    });
}

// Step 2: a missing value is an empty path, whose load fails.
void TfmSet::LoadWallpaper(TRegistry& reg) {
  const QString file = fromAnsi(reg.ReadText("Tapeta"));
  if (TMainForm* main = mainForm()) main->LoadWallpaper(file);
}

// Step 3.
void TfmSet::LoadWallpaperHidden(TRegistry& reg) {
  const bool hide = reg.ReadFlag("Ukrycie tapety");
  if (TMainForm* main = mainForm()) main->SetWallpaperVisible(!hide);
}

void TfmSet::ApplyColour(const QColor& colour) {
  appliedColour = colour;
  applyWindowColour(ui->panel, colour);
}

void TfmSet::SpeedButton1Click() {
  const std::optional<QColor> chosen = dialogs().chooseColor(this, colourFromStored(kolor));
  if (!chosen) return;
  kolor = storedFromColour(*chosen);
  ApplyColour(*chosen);
  TRegistry reg;
  openSettings(reg);
  reg.WriteNumber("Kolor", static_cast<std::int32_t>(kolor));
  reg.ClosePath();
}

void TfmSet::SpeedButton2Click() {
  TRegistry reg;
  openSettings(reg);
  reg.WriteNumber("Kolor",
                  static_cast<std::int32_t>(kDefaultWindowColour));  // no colour changes when this fails
  reg.ClosePath();
  ApplyColour(systemColour(syscolour::ButtonFace));
}

void TfmSet::SpeedButton3Click() {
  TRegistry reg;
  guarded([&] {
    if (const std::optional<QString> chosen =
            dialogs().openFile(this, tr("Wybierz tapetę"), PictureFilters(), openFileName)) {
      openFileName = *chosen;
      ui->path->setText(*chosen);
    }
    // Also after a cancel: the dialog's file name is the last one chosen (or none).
    TMainForm* main = mainForm();
    if (!main) return;
    main->LoadWallpaper(openFileName);
    const std::optional<std::string> path = storablePath(this, ui->path->text());
    if (!path) return;  // the stored wallpaper stays as it was
    openSettings(reg);
    reg.WriteText("Tapeta", *path);
  });
  reg.ClosePath();
}

void TfmSet::SpeedButton4Click() {
  guarded([] {
    TRegistry reg;
    openSettings(reg);
    reg.RemoveValue("Tapeta");
    reg.ClosePath();
  });
  ui->path->clear();
  if (TMainForm* main = mainForm()) main->ClearWallpaper();
}

void TfmSet::CheckBox1Click(TRegistry& reg, bool checked) {
  if (TMainForm* main = mainForm()) main->SetWallpaperVisible(!checked);
  reg.WriteFlag("Ukrycie tapety", checked);
}

void TfmSet::CheckBox2Click(bool checked) {
  if (TMainForm* main = mainForm()) main->SetShellIntegration(checked);
}

void TfmSet::CheckBox3Click(bool checked) {
  if (TMainForm* main = mainForm()) main->SetQuickAccessVisible(checked);
}

void TfmSet::Label4Click() {
  shellService().execute(this, QStringLiteral("open"), MailAddress(), SW_SHOW_);
}

void TfmSet::Label7Click() {
  shellService().execute(this, QStringLiteral("open"), ui->Label7->text(), SW_SHOW_);
}

void TfmSet::LinkHover(QWidget* link, bool inside) {
  setTextColour(link, inside ? kLinkHovered : kLinkNormal);
}

void TfmSet::FormClose() {
  if (TMainForm* main = mainForm()) main->LoadSettingsPicture(main->NormalSettingsPicture());
}

void TfmSet::done(int result) {
  // A missing picture is reported; the window closes all the same.
  unguarded([this] { FormClose(); });
  QDialog::done(result);
}

bool TfmSet::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ui->panel) {
    if (event->type() == QEvent::MouseButtonDblClick) unguarded([this] { SpeedButton1Click(); });
    return false;
  }
  auto* link = qobject_cast<QLabel*>(watched);
  if (link != ui->Label4 && link != ui->Label7) return false;
  switch (event->type()) {
    case QEvent::Enter:
    case QEvent::MouseMove:
      LinkHover(link, true);
      break;
    case QEvent::Leave:
      LinkHover(link, false);
      break;
    default:
      if (isLeftClickInside(link, event))
        unguarded([this, link] { link == ui->Label4 ? Label4Click() : Label7Click(); });
  }
  return false;
}

QWidget* createTfmSet(QWidget* parent) {
  auto* window = new TfmSet(parent);
  registerWindow(WindowId::Set, window);
  return window;
}

}  // namespace morvin
