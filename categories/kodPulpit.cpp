#include "kodPulpit.h"

#include <QRadioButton>

#include "registry/TRegistry.h"
#include "shell/Binding.h"
#include "shell/Guard.h"
#include "shell/Language.h"
#include "shell/WindowFactories.h"
#include "shell/WindowSet.h"
#include "ui_kodPulpit.h"
#include "wallpaper/kodKreatorAnimTapeta.h"

namespace morvin {

namespace {

using binding::Load;
using binding::Row;
using binding::Write;

constexpr const char* kPaintIcon = "C:\\Progra~1\\Access~1\\MSPAINT.EXE,1";
constexpr const char* kOwnPicture = "%1";

// One load step for the radio pair: the paint program's icon selects
// "Wyłącz", the picture itself "Włącz", any other text neither.
void loadBitmapPreview(TRegistry& reg, QWidget* window) {
  auto* on = window->findChild<QRadioButton*>(QStringLiteral("RadioButton1"));
  auto* off = window->findChild<QRadioButton*>(QStringLiteral("RadioButton2"));
  const std::string icon = reg.ReadText("");
  if (icon == kPaintIcon) {
    binding::Engine::setState(on, false);
    binding::Engine::setState(off, true);
  } else if (reg.ReadText("") == kOwnPicture) {
    binding::Engine::setState(on, true);
    binding::Engine::setState(off, false);
  }
}

std::vector<Row> bindings() {
  return {
      {.control = "CheckBox1",
       .root = reg::kCurrentUser,
       .key = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
       .value = "NoSaveSettings",
       .load = Load::Flag,
       .write = Write::Flag,
       .create = false,
       .guarded = false},
      {.control = "RadioButton1",
       .root = reg::kClassesRoot,
       .key = "Paint.Picture\\DefaultIcon",
       .value = "",
       .load = Load::Custom,
       .write = Write::FixedTexts,
       .create = false,
       .guarded = false,
       .onText = kOwnPicture,
       .customLoad = loadBitmapPreview},
      {.control = "RadioButton2",
       .root = reg::kClassesRoot,
       .key = "Paint.Picture\\DefaultIcon",
       .value = "",
       .load = Load::None,  // loaded with RadioButton1
       .write = Write::FixedTexts,
       .create = false,
       .guarded = false,
       .onText = kPaintIcon},
      {.control = "CheckBox2",
       .root = reg::kCurrentUser,
       .key = "Control Panel\\Desktop",
       .value = "PaintDesktopVersion",
       .load = Load::Flag,
       .write = Write::Flag,
       .create = true,
       .guarded = true},
  };
}

}  // namespace

TfmPulpit::TfmPulpit(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfmPulpit>()) {
  ui->setupUi(this);
  retranslateOnLanguageChange(this, [this] { ui->retranslateUi(this); });
  setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(size());
  connect(ui->SpeedButton1, &QToolButton::clicked, this,
          [this] { unguarded([this] { SpeedButton1Click(); }); });
  unguarded([this] { FormCreate(); });
}

TfmPulpit::~TfmPulpit() = default;

void TfmPulpit::FormCreate() {
  engine_ = new binding::Engine(this, bindings());
  engine_->start();
}

void TfmPulpit::SpeedButton1Click() {
  // A new wizard at every press, so each opening starts on its first page.
  auto* wizard = new TfmKreatorAnimTapeta(this);
  wizard->setAttribute(Qt::WA_DeleteOnClose);
  wizard->exec();
}

QWidget* createTfmPulpit(QWidget* parent) {
  auto* w = new TfmPulpit(parent);
  registerWindow(WindowId::Pulpit, w);
  return w;
}

}  // namespace morvin
