#include "kodDos.h"

#include <QCheckBox>
#include <QPixmap>
#include <QSignalBlocker>
#include <algorithm>
#include <array>
#include <climits>
#include <string_view>

#include "DosBootFile.h"
#include "pictures/Pictures.h"
#include "platform/FileAttributes.h"
#include "registry/TIniFile.h"
#include "shell/Binding.h"
#include "shell/DataPaths.h"
#include "shell/Guard.h"
#include "shell/Language.h"
#include "shell/TextSpinBox.h"
#include "shell/WindowFactories.h"
#include "shell/WindowSet.h"
#include "ui_kodDos.h"

namespace morvin {

namespace {

constexpr const char* kWinOldApp = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\WinOldApp";
constexpr const char* kOptions = "Options";
constexpr const char* kBootMenuDelay = "BootMenuDelay";
constexpr int kDelayDefault = 30;        // what Windows waits when MsDos.sys names no delay
constexpr const char* kAbsent = "\x01";  // no INI value is a control character

// The delay a text of the box stands for: a whole number as typed; any other text counts as 1.
int delayOf(const QString& text) {
  return TextSpinBox::wholeNumber(text.trimmed()).value_or(1);
}

// A boot option and how its box reads it.
struct BootFlag {
  const char* box;
  const char* key;
  int missing;    // what a missing key means
  bool inverted;  // the box is checked when the option is off
};

// In the load's order.
constexpr std::array<BootFlag, 5> kBootFlags{{
    {"CheckBox3", "AutoScan", 1, false},
    {"CheckBox4", "BootGUI", 1, false},
    {"CheckBox5", "BootMenu", 0, false},
    // "Wyłącz klawisze...": checked when the keys are switched off (BootKeys=0);
    // the system takes a missing BootKeys as keys available.
    {"CheckBox6", "BootKeys", 1, true},
    {"CheckBox7", "Logo", 1, false},
}};

bool checkedFor(const BootFlag& flag, int stored) {
  return flag.inverted ? stored == 0 : stored != 0;
}
int storedFor(const BootFlag& flag, bool checked) {
  return (checked != flag.inverted) ? 1 : 0;
}

void writeBootFlag(const BootFlag& flag, bool checked) {
  TIniFile(bootOptionsPath()).IniWriteNumber(kOptions, flag.key, storedFor(flag, checked));
}

binding::Row bootRow(const BootFlag& flag) {
  binding::Row row{.control = flag.box,
                   .root = 0,
                   .key = kOptions,
                   .value = flag.key,
                   .load = binding::Load::None,  // loaded by loadBootOptions
                   .write = binding::Write::IniFlag,
                   .guarded = false};
  if (flag.inverted) {
    row.write = binding::Write::Custom;
    row.customWrite = [&flag](TRegistry&, QWidget*, const QVariant& checked) {
      writeBootFlag(flag, checked.toBool());
    };
  }
  return row;
}

}  // namespace

TfmDos::TfmDos(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfmDos>()) {
  ui->setupUi(this);
  retranslateOnLanguageChange(this, [this] { ui->retranslateUi(this); });
  setWindowFlag(Qt::Tool);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  const QPixmap banner = LoadPictureOrNothing(dataFile("Data\\Gfx\\Bmp\\Dos\\Baner.png"));
  if (!banner.isNull()) ui->Image1->setPixmap(banner);

  std::vector<binding::Row> rows;
  for (const char* value : {"Disabled", "NoRealMode"}) {
    rows.push_back({.control = rows.empty() ? "CheckBox1" : "CheckBox2",
                    .root = reg::kCurrentUser,
                    .key = kWinOldApp,
                    .value = value,
                    .create = true,
                    .guarded = false,
                    .loadCreates = true});
  }
  for (const BootFlag& flag : kBootFlags) rows.push_back(bootRow(flag));
  for (binding::Row& row : rows)
    if (std::string_view(row.control) == "CheckBox5")
      row.after = [this](QWidget*, const QVariant& checked) { enableDelay(checked.toBool()); };
  // Every change of the text writes the number as typed; the box pulls it into
  // its range when the user moves on, and writes again.
  rows.push_back(
      {.control = "CzasMenu",
       .root = 0,
       .key = kOptions,
       .value = kBootMenuDelay,
       .load = binding::Load::None,
       .write = binding::Write::Custom,
       .guarded = false,
       .customWrite = [](TRegistry&, QWidget*, const QVariant& text) {
         TIniFile(bootOptionsPath()).IniWriteNumber(kOptions, kBootMenuDelay, delayOf(text.toString()));
       }});
  engine_ = new binding::Engine(this, std::move(rows), [] { return bootOptionsPath(); });
  engine_->connectWrites();
  unguarded([this] { FormCreate(); });
}

TfmDos::~TfmDos() {
  FormDestroy();
}

void TfmDos::FormCreate() {
  engine_->load();  // the two policies; their load creates the WinOldApp key
  guarded([] { platform::SetFileAttributes(bootOptionsPath(), 0); });
  // Not guarded: a refused write stops the load here and reaches the error box.
  loadBootOptions();
  enableDelay(ui->CheckBox5->isChecked());
}

void TfmDos::FormDestroy() {
  guarded([] {
    platform::SetFileAttributes(bootOptionsPath(), platform::attr::ReadOnly | platform::attr::Hidden);
  });
}

// Sets each box from the file. A box the load turns on writes its option back,
// as a click would, but only where that stores what the file already means
// (a missing key or the same 0/1): a third value such as AutoScan=2 stays.
// The delay is shown pulled into the box's range and never written here: a
// missing or out-of-range delay keeps meaning to Windows what it means.
void TfmDos::loadBootOptions() {
  TIniFile ini(bootOptionsPath());
  for (const BootFlag& flag : kBootFlags) {
    auto* box = findChild<QCheckBox*>(flag.box);
    const bool missing = ini.IniReadText(kOptions, flag.key, kAbsent) == kAbsent;
    // A number is stored when neither default comes back.
    const int number = ini.IniReadNumber(kOptions, flag.key, INT_MIN);
    const bool isNumber = number == ini.IniReadNumber(kOptions, flag.key, INT_MAX);
    const int stored = isNumber ? number : flag.missing;
    const bool checked = checkedFor(flag, stored);
    if (checked == box->isChecked()) continue;
    {
      const QSignalBlocker held(box);
      box->setChecked(checked);
    }
    if (missing || (isNumber && stored == storedFor(flag, checked))) writeBootFlag(flag, checked);
  }

  const int delay = std::clamp(ini.IniReadNumber(kOptions, kBootMenuDelay, kDelayDefault),
                               ui->CzasMenu->minimum(), ui->CzasMenu->maximum());
  if (delay != delayOf(ui->CzasMenu->text())) {
    const QSignalBlocker held(ui->CzasMenu);
    ui->CzasMenu->setText(QString::number(delay));
  }
}

void TfmDos::enableDelay(bool on) {
  ui->CzasMenu->setEnabled(on);
  ui->Label4->setEnabled(on);
}

QWidget* createTfmDos(QWidget* parent) {
  auto* window = new TfmDos(parent);
  registerWindow(WindowId::Dos, window);
  return window;
}

}  // namespace morvin
