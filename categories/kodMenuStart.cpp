#include "kodMenuStart.h"

#include <QCoreApplication>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPalette>
#include <QPixmap>
#include <QSpinBox>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>

#include "pictures/Pictures.h"
#include "platform/DriveMapping.h"
#include "platform/SystemLanguage.h"
#include "registry/Cp1250.h"
#include "registry/Errors.h"
#include "registry/TRegistry.h"
#include "shell/Binding.h"
#include "shell/DataPaths.h"
#include "shell/DialogService.h"
#include "shell/Guard.h"
#include "shell/Language.h"
#include "shell/SystemColours.h"
#include "shell/Text.h"
#include "shell/WindowFactories.h"
#include "shell/WindowSet.h"
#include "ui_kodMenuStart.h"

namespace morvin {

namespace {

constexpr const char* kPolicies = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kProgramStore = "Software\\Morvin\\Menu Start";
constexpr const char* kDesktop = "Control Panel\\Desktop";
constexpr const char* kSystemTray = "SystemTray";
constexpr const char* kMenuShowDelay = "MenuShowDelay";
constexpr const char* kPanelFlag = "Panel Sterowania";  // cp1250 and UTF-8 alike

constexpr const char* kSubfoldersHiddenPicture = "Data\\Gfx\\Bmp\\menu\\bpp.bmp";
constexpr const char* kProgramsPicture = "Data\\Gfx\\Bmp\\menu\\soft.bmp";

constexpr int kMinDelay = 1;
constexpr int kMaxDelay = 10000;

TfmMenuStart* menuStart(QWidget* window) {
  return static_cast<TfmMenuStart*>(window);
}

// A Start menu flag of the current user; its picture is hidden while it is set.
binding::Row policyRow(const char* control, const char* value, const char* picture) {
  binding::Row row{control, reg::kCurrentUser, kPolicies, value};
  if (picture) {
    row.after = [picture](QWidget* window, const QVariant& checked) {
      if (auto* image = window->findChild<QLabel*>(QString::fromLatin1(picture)))
        image->setVisible(!checked.toBool());
    };
  }
  return row;
}

// A decimal integer as StrToInt reads it; nullopt for anything else.
std::optional<int> parseDecimal(const std::string& text) {
  if (text.empty()) return std::nullopt;
  std::size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (i == text.size()) return std::nullopt;
  long long n = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    n = n * 10 + (text[i] - '0');
    if (n > 2147483648LL) return std::nullopt;
  }
  if (text[0] == '-') n = -n;
  if (n > 2147483647LL) return std::nullopt;
  return static_cast<int>(n);
}

std::vector<binding::Row> bindingTable() {
  using binding::Load;
  using binding::Row;
  using binding::Write;
  std::vector<Row> rows;

  Row subfolders = policyRow("CheckBox1", "NoStartMenuSubFolders", nullptr);
  subfolders.after = [](QWidget* window, const QVariant& checked) {
    menuStart(window)->showProgramsPicture(checked.toBool());
  };
  rows.push_back(subfolders);
  rows.push_back(policyRow("CheckBox2", "NoFavoritesMenu", "Image3"));
  rows.push_back(policyRow("CheckBox3", "NoRecentDocsMenu", "Image4"));
  rows.push_back(policyRow("CheckBox4", "NoSetFolders", "Image5"));
  rows.push_back(policyRow("CheckBox5", "NoFind", "Image6"));
  rows.push_back(policyRow("CheckBox6", "NoRun", "Image7"));
  rows.push_back(policyRow("CheckBox7", "NoLogOff", "Image8"));
  rows.push_back(policyRow("CheckBox8", "NoClose", "Image9"));
  rows.push_back(policyRow("CheckBox9", "NoSetTaskbar", nullptr));
  Row contextMenu = policyRow("CheckBox10", "NoTrayContexMenu", nullptr);  // sic: no t after "Contex"
  contextMenu.guarded = true;
  rows.push_back(contextMenu);

  Row trayFix{"BitBtn1", reg::kLocalMachine, kRun, kSystemTray, Load::Custom, Write::None};
  trayFix.customLoad = [](TRegistry& reg, QWidget* window) {
    window->findChild<QWidget*>(QStringLiteral("BitBtn1"))->setEnabled(reg.HasValue(kSystemTray));
  };
  rows.push_back(trayFix);

  Row autostart{"Lista", reg::kLocalMachine, kRun, "", Load::Custom, Write::None};
  autostart.customLoad = [](TRegistry& reg, QWidget* window) {
    auto* list = window->findChild<QListWidget*>(QStringLiteral("Lista"));
    std::vector<std::string> names;
    reg.ListValueNames(names);
    list->clear();
    for (const auto& name : names) {
      auto* item = new QListWidgetItem(fromAnsi(name), list);
      // The stored name itself, so a removal names the value byte for byte.
      item->setData(Qt::UserRole, QByteArray::fromStdString(name));
      item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
      item->setCheckState(Qt::Unchecked);
    }
  };
  rows.push_back(autostart);

  Row panelShown{"Image1", reg::kCurrentUser, kProgramStore, kPanelFlag, Load::Custom, Write::None};
  panelShown.customLoad = [](TRegistry& reg, QWidget* window) {
    const bool created = reg.ReadFlag(kPanelFlag);  // a missing value leaves the picture hidden
    window->findChild<QWidget*>(QStringLiteral("Image1"))->setVisible(created);
  };
  rows.push_back(panelShown);

  Row delay{"CzasMenu", reg::kCurrentUser, kDesktop, kMenuShowDelay, Load::Custom, Write::None};
  delay.customLoad = [](TRegistry& reg, QWidget* window) {
    auto* spin = window->findChild<QSpinBox*>(QStringLiteral("CzasMenu"));
    const std::string text = reg.ReadText(kMenuShowDelay);
    auto n = parseDecimal(text);
    if (!n) throw EConvertError(formatMessage(msg::NotAnInteger, text));
    spin->setValue(std::clamp(*n, kMinDelay, kMaxDelay));
  };
  rows.push_back(delay);
  return rows;
}

// Characters that Windows never accepts in a file name; the separators are
// left to the path itself, as CreateDirectoryA takes them.
bool validWindowsName(const std::string& name) {
  for (unsigned char c : name)
    if (c < 32 || std::string_view("<>:\"|?*").find(static_cast<char>(c)) != std::string_view::npos)
      return false;
  return true;
}

// A picture file beside the program, in the program's language; an empty
// picture when it is missing.
QPixmap dataPicture(const char* name) {
  return LoadPictureOrNothing(
      localizedPictureFile(QStringLiteral("Data\\Gfx\\Bmp\\menu\\") + QString::fromLatin1(name)));
}

// A button glyph of two frames side by side: normal, then disabled.
QIcon twoStateGlyph(const char* name) {
  const QPixmap strip = dataPicture(name);
  QIcon icon;
  if (strip.isNull()) return icon;
  const int w = strip.width() / 2;
  icon.addPixmap(strip.copy(0, 0, w, strip.height()), QIcon::Normal);
  icon.addPixmap(strip.copy(w, 0, w, strip.height()), QIcon::Disabled);
  return icon;
}

// The caption breaks after "Sterowania" so that it shows on two lines.
void captionShortcutButton(QAbstractButton* button) {
  button->setText(
      QCoreApplication::translate("TfmMenuStart", "Stwórz skrót do Panelu Sterowania\n w Menu Start"));
}

}  // namespace

TfmMenuStart::TfmMenuStart(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfmMenuStart>()) {
  ui->setupUi(this);
  // A sizeable tool window; QDialog centres it on the main window when shown.
  setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  loadDesignPictures();
  // The Start menu picture keeps the menu's own grey whatever colour the
  // program's windows take; empty places of hidden entries show it too.
  QPalette menuPalette = ui->MenuObraz->palette();
  menuPalette.setColor(QPalette::Window, systemColour(syscolour::ButtonFace));
  ui->MenuObraz->setPalette(menuPalette);
  ui->MenuObraz->setAutoFillBackground(true);

  connect(ui->BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
  connect(ui->BitBtn2, &QToolButton::clicked, this, [this] { BitBtn2Click(); });
  connect(ui->BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
  connect(ui->Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(ui->Button2, &QPushButton::clicked, this, [this] { Button2Click(); });

  engine_ = new binding::Engine(this, bindingTable());
  retranslateOnLanguageChange(this, [this] {
    ui->retranslateUi(this);
    captionShortcutButton(ui->BitBtn2);
    loadDesignPictures();
    guarded([this] { showProgramsPicture(subfoldersHidden_); });
  });
  unguarded([this] { FormCreate(); });
}

TfmMenuStart::~TfmMenuStart() = default;

void TfmMenuStart::loadDesignPictures() {
  const std::pair<QLabel*, const char*> pictures[] = {
      {ui->Banner, "pasek.bmp"},    {ui->Image1, "panel.bmp"},     {ui->Image2, "soft.bmp"},
      {ui->Image3, "ulubione.bmp"}, {ui->Image4, "dokumenty.bmp"}, {ui->Image5, "ustawienia.bmp"},
      {ui->Image6, "znajdz.bmp"},   {ui->Image7, "uruchom.bmp"},   {ui->Image8, "wyloguj.bmp"},
      {ui->Image9, "zamknij.bmp"}};
  for (const auto& [label, file] : pictures) label->setPixmap(dataPicture(file));
  ui->BitBtn1->setIcon(twoStateGlyph("blad.bmp"));
  ui->BitBtn2->setIcon(twoStateGlyph("skrot.bmp"));
  ui->BitBtn3->setIcon(twoStateGlyph("autostart.bmp"));
}

void TfmMenuStart::FormCreate() {
  engine_->start();
  captionShortcutButton(ui->BitBtn2);
}

void TfmMenuStart::showProgramsPicture(bool subfoldersHidden) {
  subfoldersHidden_ = subfoldersHidden;
  const char* relative = subfoldersHidden ? kSubfoldersHiddenPicture : kProgramsPicture;
  // Resolved against the program's data folder, wherever the program was started from.
  ui->Image2->setPixmap(LoadPicture(localizedPictureFile(QString::fromLatin1(relative))));
}

std::string TfmMenuStart::controlPanelFolder(const std::string& name) {
  // The Start Menu folder has the name the system's own language gives it.
  const char* startMenu = platform::currentSystemLanguage() == platform::SystemLanguage::English
                              ? "C:\\Windows\\Start Menu\\"
                              : "C:\\Windows\\Menu Start\\";
  return startMenu + name + ".{21EC2020-3AEA-1069-A2DD-08002B30309D}";
}

void TfmMenuStart::BitBtn1Click() {
  guarded([this] {
    TRegistry reg;
    reg.SelectRoot(reg::kLocalMachine);
    const bool opened = reg.OpenPath(kRun, false);
    // Refused while still there, or in a key that cannot be opened for
    // writing (a read-only hive): the fix has not been made, the button stays.
    if (!reg.RemoveValue(kSystemTray) && (!opened || reg.HasValue(kSystemTray)))
      return showApplicationError(formatMessage(msg::DeleteValueFailed, kSystemTray));
    ui->BitBtn1->setEnabled(false);
  });
}

void TfmMenuStart::BitBtn2Click() {
  guarded([this] {
    const std::string name = toAnsi(ui->nazwa->text());  // exactly as typed, empty allowed
    std::error_code error;
    bool present = false;
    if (validWindowsName(name)) {
      if (auto host = platform::toHostPath(controlPanelFolder(name))) {
        // Host paths are UTF-8 on every system.
        const std::filesystem::path folder(
            std::u8string(reinterpret_cast<const char8_t*>(host->data()), host->size()));
        std::filesystem::create_directory(folder, error);  // that one folder, never its parents
        present = std::filesystem::is_directory(folder, error);
      }
    }
    // A folder that is there (made now or before) is recorded and shown; a
    // name or place where none could be made records nothing.
    if (!present) return;
    guarded([] {
      TRegistry reg;
      reg.SelectRoot(reg::kCurrentUser);
      reg.OpenPath(kProgramStore, false);
      reg.WriteFlag(kPanelFlag, true);
    });
    ui->Image1->setVisible(true);
  });
}

void TfmMenuStart::BitBtn3Click() {
  guarded([this] {
    TRegistry reg;
    reg.SelectRoot(reg::kLocalMachine);
    const bool opened = reg.OpenPath(kRun, false);
    int line = 0;
    while (line < ui->Lista->count()) {
      QListWidgetItem* item = ui->Lista->item(line);
      if (item->checkState() != Qt::Checked) {
        ++line;
        continue;
      }
      const Answer answer =
          dialogs().question(this, QStringLiteral("Warning"),
                             tr("Czy napewno chcesz usunąć ten element Autostartu?"), MsgIcon::Warning);
      if (answer == Answer::No) return;
      if (answer != Answer::Yes) {
        ++line;  // the box was closed otherwise: this line stays, the scan goes on
        continue;
      }
      const std::string name = item->data(Qt::UserRole).toByteArray().toStdString();
      if (!reg.RemoveValue(name) && (!opened || reg.HasValue(name))) {
        // Not removed (a read-only hive): the line stays, unmarked so the scan goes past it.
        item->setCheckState(Qt::Unchecked);
        showApplicationError(formatMessage(msg::DeleteValueFailed, name));
        ++line;
        continue;
      }
      delete ui->Lista->takeItem(line);
      line = 0;
    }
  });
}

void TfmMenuStart::Button1Click() {
  unguarded([] { showModal(WindowId::Programy); });
}

void TfmMenuStart::Button2Click() {
  guarded([this] {
    // What is typed counts: no number (an emptied field) is the minimum, and
    // the field keeps to its range as it does when the focus leaves it.
    const int delay =
        std::clamp(parseDecimal(toAnsi(ui->CzasMenu->cleanText())).value_or(kMinDelay), kMinDelay, kMaxDelay);
    ui->CzasMenu->setValue(delay);
    TRegistry reg;
    reg.SelectRoot(reg::kCurrentUser);
    reg.OpenPath(kDesktop, false);
    reg.WriteText(kMenuShowDelay, std::to_string(delay));
  });
}

QWidget* createTfmMenuStart(QWidget* parent) {
  auto* window = new TfmMenuStart(parent);
  registerWindow(WindowId::MenuStart, window);
  return window;
}

}  // namespace morvin
