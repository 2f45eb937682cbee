#include "Binding.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTextEdit>
#include <QWidget>
#include <memory>

#include "Guard.h"
#include "Text.h"
#include "registry/Cp1250.h"
#include "registry/Errors.h"
#include "registry/TIniFile.h"

namespace morvin::binding {

namespace {

std::string ansi(const char* utf8) {
  return utf8 ? cp1250::fromUtf8(utf8) : std::string();
}

bool isIniRow(const Row& row) {
  return row.root == 0;
}

// Selects the row's root and opens its key; a failed open leaves no key open,
// so the read or write that follows fails as the registry layer says.
void openRowKey(TRegistry& reg, const Row& row, bool create) {
  reg.SelectRoot(row.root);
  if (row.key && *row.key) reg.OpenPath(ansi(row.key), create);
}

// The number a control holds, as StrToInt would read its text.
std::int32_t numberOf(const QVariant& state) {
  bool ok = false;
  const int n = state.toInt(&ok);
  if (!ok) throw EConvertError(formatMessage(msg::NotAnInteger, toAnsi(state.toString())));
  return n;
}

bool isPlainTextControl(const QWidget* w) {
  return qobject_cast<const QTextEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w);
}

}  // namespace

Engine::Engine(QWidget* window, std::vector<Row> rows, std::function<std::string()> iniPath)
    : QObject(window), window_(window), rows_(std::move(rows)), iniPath_(std::move(iniPath)) {}

QWidget* Engine::control(const Row& row) const {
  if (!row.control || !window_) return nullptr;
  return window_->findChild<QWidget*>(QString::fromUtf8(row.control));
}

const Row* Engine::rowFor(const char* controlName) const {
  for (const Row& row : rows_)
    if (row.control && controlName && std::string_view(row.control) == controlName) return &row;
  return nullptr;
}

QVariant Engine::state(QWidget* w) {
  if (!w) return {};
  if (auto* edit = qobject_cast<QTextEdit*>(w)) return edit->toPlainText();
  if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) return edit->toPlainText();
  const QMetaProperty user = w->metaObject()->userProperty();
  return user.isValid() ? user.read(w) : QVariant();
}

void Engine::setState(QWidget* w, const QVariant& v) {
  if (!w) return;
  // Setting the state a control already has changes nothing and runs no write.
  if (auto* edit = qobject_cast<QTextEdit*>(w)) {
    if (edit->toPlainText() != v.toString()) edit->setPlainText(v.toString());
    return;
  }
  if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
    if (edit->toPlainText() != v.toString()) edit->setPlainText(v.toString());
    return;
  }
  // Clearing the selected radio button leaves its group with none selected,
  // which Qt refuses for exclusive buttons unless told otherwise for a moment.
  if (auto* button = qobject_cast<QAbstractButton*>(w); button && button->isChecked() && !v.toBool()) {
    QButtonGroup* group = button->group();
    const bool groupExclusive = group && group->exclusive();
    const bool autoExclusive = button->autoExclusive();
    if (groupExclusive) group->setExclusive(false);
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(autoExclusive);
    if (groupExclusive) group->setExclusive(true);
    return;
  }
  const QMetaProperty user = w->metaObject()->userProperty();
  if (!user.isValid()) return;
  if (user.read(w) == v) return;
  user.write(w, v);
}

void Engine::connectWrites() {
  rowsOfControl_.clear();
  const QMetaMethod slot = metaObject()->method(metaObject()->indexOfSlot("controlChanged()"));
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].write == Write::None) continue;
    QWidget* c = control(rows_[i]);
    if (!c) continue;
    auto& rowsOfThis = rowsOfControl_[c];
    rowsOfThis.push_back(i);
    if (rowsOfThis.size() > 1) continue;
    QMetaMethod signal;
    if (isPlainTextControl(c)) {
      signal = c->metaObject()->method(c->metaObject()->indexOfSignal("textChanged()"));
    } else if (const QMetaProperty user = c->metaObject()->userProperty(); user.hasNotifySignal()) {
      signal = user.notifySignal();
    }
    if (signal.isValid()) QObject::connect(c, signal, this, slot, Qt::UniqueConnection);
  }
}

void Engine::start() {
  connectWrites();
  load();
}

void Engine::controlChanged() {
  const auto found = rowsOfControl_.find(sender());
  if (found == rowsOfControl_.end()) return;
  const std::vector<std::size_t> indexes = found->second;
  for (std::size_t i : indexes) {
    const Row& row = rows_[i];
    // A radio button writes when it becomes selected, never when it is cleared.
    if (auto* radio = qobject_cast<QRadioButton*>(control(row)); radio && !radio->isChecked()) continue;
    writeRow(row);
  }
}

void Engine::load() {
  LoadScope scope;
  for (const Row& row : rows_) loadRow(row);
}

void Engine::reload() {
  std::vector<std::unique_ptr<QSignalBlocker>> held;
  for (const Row& row : rows_)
    if (QWidget* c = control(row)) held.push_back(std::make_unique<QSignalBlocker>(c));
  load();
  held.clear();
  for (const Row& row : rows_)
    if (QWidget* c = control(row); c && !row.disables.empty()) applyEnabling(row, state(c).toBool());
}

void Engine::loadRow(const Row& row) {
  if (row.load == Load::None) return;
  LoadScope scope;
  guarded([&] { performLoad(row); });
}

void Engine::performLoad(const Row& row) {
  QWidget* c = control(row);
  if (!c && row.load != Load::Custom) return;
  if (isIniRow(row)) {
    if (!iniPath_) return;
    TIniFile ini(iniPath_());
    const std::string section = ansi(row.key), key = ansi(row.value);
    switch (row.load) {
      case Load::IniFlag:
        setState(c, ini.IniReadFlag(section, key, row.iniDefault != 0));
        break;
      case Load::IniNumber:
        setState(c, ini.IniReadNumber(section, key, row.iniDefault));
        break;
      case Load::Custom: {
        TRegistry unused;
        if (row.customLoad) row.customLoad(unused, window_);
        break;
      }
      default:
        break;
    }
    return;
  }
  TRegistry reg;
  openRowKey(reg, row, row.loadCreates);
  const std::string value = ansi(row.value);
  switch (row.load) {
    case Load::Flag:
      setState(c, reg.ReadFlag(value));
      break;
    case Load::FlagIsOne:
      // Only 1 is "on": 0, 2 or any other number is another state, kept as stored.
      setState(c, reg.ReadNumber(value) == 1);
      break;
    case Load::TextEquals: {
      const std::string text = reg.ReadText(value);
      if (text == ansi(row.onText))
        setState(c, true);
      else if (row.uncheckOnOther)
        setState(c, false);
      break;
    }
    case Load::TextIntoControl: {
      const std::string text = reg.ReadText(value);
      if (!(row.skipEmpty && text.empty())) setState(c, fromAnsi(text));
      break;
    }
    case Load::ValuePresence:
      setState(c, reg.HasValue(value));
      break;
    case Load::Custom:
      if (row.customLoad) row.customLoad(reg, window_);
      break;
    default:
      break;
  }
  reg.ClosePath();
}

void Engine::writeRow(const Row& row) {
  if (row.write == Write::None) return;
  if (row.guarded)
    guarded([&] { performWrite(row); });
  else
    unguarded([&] { performWrite(row); });
}

void Engine::performWrite(const Row& row) {
  QWidget* c = control(row);
  const QVariant st = state(c);
  const bool checked = st.toBool();
  if (isIniRow(row)) {
    const std::string section = ansi(row.key), key = ansi(row.value);
    switch (row.write) {
      case Write::IniFlag:
        TIniFile(iniPath_ ? iniPath_() : std::string()).IniWriteFlag(section, key, checked);
        break;
      case Write::IniNumber: {
        const std::int32_t n = numberOf(st);
        TIniFile(iniPath_ ? iniPath_() : std::string()).IniWriteNumber(section, key, n);
        break;
      }
      case Write::Custom: {
        TRegistry unused;
        if (row.customWrite) row.customWrite(unused, window_, st);
        break;
      }
      default:
        break;
    }
  } else {
    TRegistry reg;
    openRowKey(reg, row, row.create);
    const std::string value = ansi(row.value);
    switch (row.write) {
      case Write::Flag:
        reg.WriteFlag(value, checked);
        break;
      case Write::FixedTexts:
        if (checked)
          reg.WriteText(value, ansi(row.onText));
        else if (row.offText)
          reg.WriteText(value, ansi(row.offText));
        break;
      case Write::TextOfControl:
        reg.WriteText(value, toAnsi(st.toString()));
        break;
      case Write::ValuePresence:
        if (checked)
          reg.WriteText(value, std::string());
        else
          reg.RemoveValue(value);
        break;
      case Write::Custom:
        if (row.customWrite) row.customWrite(reg, window_, st);
        break;
      default:
        break;
    }
    reg.ClosePath();
  }
  if (!row.disables.empty()) applyEnabling(row, checked);
  if (row.after) row.after(window_, st);
}

void Engine::applyEnabling(const Row& row, bool checked) {
  for (const char* name : row.disables)
    if (auto* w = window_->findChild<QWidget*>(QString::fromUtf8(name))) w->setEnabled(!checked);
}

}  // namespace morvin::binding
