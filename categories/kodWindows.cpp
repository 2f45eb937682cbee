#include "categories/kodWindows.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextCursor>

#include "categories/kodWindowsBindings.h"
#include "registry/Cp1250.h"
#include "registry/TRegistry.h"
#include "shell/DialogService.h"
#include "shell/Guard.h"
#include "shell/Language.h"
#include "shell/Text.h"
#include "shell/WindowFactories.h"
#include "shell/WindowSet.h"
#include "ui_kodWindows.h"

namespace morvin {

namespace {

constexpr const char* kWinlogonKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Winlogon";
constexpr const char* kDisplayKey = "Display\\Settings";
// The sum of width and height of 1024 by 768: a larger mode asks first.
constexpr std::int64_t kLargestUnaskedSum = 1792;

// Length of a memo text as the notice stores it: a line break is CR LF.
int storedLength(const QString& text) {
  return int(text.size() + text.count(u'\n'));
}

// Keeps the longest beginning of `text` whose stored length fits `limit`.
QString cutToStoredLength(const QString& text, int limit) {
  int length = 0;
  qsizetype i = 0;
  for (; i < text.size(); ++i) {
    const int step = text.at(i) == u'\n' ? 2 : 1;
    if (length + step > limit) break;
    length += step;
  }
  return text.left(i);
}

void keepHintShown(QLineEdit* edit, QLabel* hint) {
  QObject::connect(edit, &QLineEdit::textChanged, hint, [hint] { hint->setVisible(true); });
}

}  // namespace

std::optional<std::int32_t> parseWholeNumber(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    int digit = -1;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    if (digit < 0) return std::nullopt;
    value = value * base + digit;
    if (value > std::int64_t(INT32_MAX) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return std::int32_t(value);
}

TfmWindows::TfmWindows(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TfmWindows>()) {
  setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  ui_->setupUi(this);
  retranslateOnLanguageChange(this, [this] { ui_->retranslateUi(this); });
  // The hints are hidden until their field changes; their place stays reserved.
  for (QLabel* hint : {ui_->Label4, ui_->Label6, ui_->Label8}) {
    QSizePolicy policy = hint->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    hint->setSizePolicy(policy);
    hint->setVisible(false);
  }
  // A master box covers its frame's top edge with the window's own colour.
  for (QWidget* master : {static_cast<QWidget*>(ui_->CheckBox1), static_cast<QWidget*>(ui_->CheckBox7)})
    master->setBackgroundRole(QPalette::Window);
  keepHintShown(ui_->Edit2, ui_->Label4);
  keepHintShown(ui_->Edit5, ui_->Label4);
  keepHintShown(ui_->Edit3, ui_->Label6);
  keepHintShown(ui_->Edit4, ui_->Label8);

  connect(ui_->Button1, &QPushButton::clicked, this, [this] { unguarded([this] { Button1Click(); }); });
  connect(ui_->Button2, &QPushButton::clicked, this, [this] { unguarded([this] { Button2Click(); }); });
  connect(ui_->Button3, &QPushButton::clicked, this, [this] { unguarded([this] { Button3Click(); }); });
  connect(ui_->Button4, &QPushButton::clicked, this, [this] { guarded([this] { Button4Click(); }); });
  connect(ui_->Memo1, &QPlainTextEdit::textChanged, this, [this] { guarded([this] { Memo1Change(); }); });

  engine_ = std::make_unique<binding::Engine>(this, windowsBindings());
  engine_->connectWrites();
  unguarded([this] { FormCreate(); });
}

TfmWindows::~TfmWindows() = default;

void TfmWindows::FormCreate() {
  engine_->load();
  ui_->Edit1->setMaxLength(kNoticeLimit);
  memoLimit_ = kNoticeLimit;
}

void TfmWindows::Button1Click() {
  dialogs().notice(nullptr, ui_->Edit1->text(), ui_->Memo1->toPlainText(), MsgIcon::None);
}

void TfmWindows::Button2Click() {
  TRegistry reg;
  reg.SelectRoot(reg::kLocalMachine);
  reg.OpenPath(kWinlogonKey, false);
  reg.WriteText("LegalNoticeCaption", toAnsi(ui_->Edit1->text()));
  reg.WriteText("LegalNoticeText", memoText());
  reg.ClosePath();
}

void TfmWindows::Button3Click() {
  ui_->Edit1->clear();
  ui_->Memo1->clear();
}

// Stores what was typed; the display mode in effect is never changed.
void TfmWindows::Button4Click() {
  TRegistry reg;
  reg.SelectRoot(reg::kCurrentConfig);
  reg.OpenPath(kDisplayKey, false);
  reg.WriteText("BitsPerPixel", toAnsi(ui_->Edit3->text()));
  reg.WriteText("RefreshRate", toAnsi(ui_->Edit4->text()));

  const std::string width = toAnsi(ui_->Edit2->text());
  const std::string height = toAnsi(ui_->Edit5->text());
  const auto w = parseWholeNumber(width);
  const auto h = parseWholeNumber(height);
  if (!w || !h) return;  // a field that is no whole number ends the action
  if (std::int64_t(*w) + *h > kLargestUnaskedSum) {
    const QString question = tr("Wprowadzono rozdzielczość większą niż 1024x768. Czy napewno chcesz zmienić "
                                "rozdzielczość na %1x%2 ?")
                                 .arg(ui_->Edit2->text(), ui_->Edit5->text());
    if (dialogs().question(this, "Warning", question, MsgIcon::Warning) != Answer::Yes) return;
  }
  reg.WriteText("Resolution", width + "," + height);
  reg.ClosePath();
}

void TfmWindows::Memo1Change() {
  QPlainTextEdit* memo = ui_->Memo1;
  const QString text = memo->toPlainText();
  if (memoLimit_ <= 0 || storedLength(text) <= memoLimit_) return;
  const QString kept = cutToStoredLength(text, memoLimit_);
  const int position = std::min<int>(memo->textCursor().position(), int(kept.size()));
  memo->setPlainText(kept);
  QTextCursor cursor = memo->textCursor();
  cursor.setPosition(position);
  memo->setTextCursor(cursor);
}

std::string TfmWindows::memoText() const {
  QString text = ui_->Memo1->toPlainText();
  text.replace(u'\n', QStringLiteral("\r\n"));
  return toAnsi(text);
}

QWidget* createTfmWindows(QWidget* parent) {
  auto* window = new TfmWindows(parent);
  registerWindow(WindowId::Windows, window);
  return window;
}

}  // namespace morvin
