#include "categories/TextSpinBox.h"

#include <QFocusEvent>
#include <QLineEdit>

namespace morvin {

TextSpinBox::TextSpinBox(QWidget* parent) : QAbstractSpinBox(parent) {
  lineEdit()->setText(QString::number(minimum_));
  connect(lineEdit(), &QLineEdit::textChanged, this, &TextSpinBox::textChanged);
}

QString TextSpinBox::text() const {
  return lineEdit()->text();
}

void TextSpinBox::setText(const QString& text) {
  if (text != lineEdit()->text()) lineEdit()->setText(text);
}

std::optional<qint64> TextSpinBox::parse(const QString& text) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty() || trimmed.size() > 11) return std::nullopt;
  bool ok = false;
  const qint64 v = trimmed.toLongLong(&ok, 10);
  if (!ok || v < INT32_MIN || v > INT32_MAX) return std::nullopt;
  return v;
}

int TextSpinBox::clamp(qint64 v) const {
  if (v < minimum_) return minimum_;
  if (v > maximum_) return maximum_;
  return static_cast<int>(v);
}

int TextSpinBox::value() const {
  const auto v = parse(text());
  return v ? static_cast<int>(*v) : minimum_;
}

void TextSpinBox::setValue(int v) {
  setText(QString::number(clamp(v)));
}

void TextSpinBox::stepBy(int steps) {
  if (isReadOnly()) return;
  setValue(clamp(static_cast<qint64>(value()) + static_cast<qint64>(steps) * singleStep_));
  lineEdit()->selectAll();
}

// Typing accepts signs and digits only; whether the number fits the range is
// settled when the box loses the focus.
QValidator::State TextSpinBox::validate(QString& input, int&) const {
  for (qsizetype i = 0; i < input.size(); ++i) {
    const QChar c = input.at(i);
    const bool sign = (c == u'-' || c == u'+') && i == 0;
    if (!sign && !c.isDigit()) return QValidator::Invalid;
    if (c.isDigit() && c.unicode() > u'9') return QValidator::Invalid;
  }
  return QValidator::Acceptable;
}

void TextSpinBox::fixup(QString&) const {}

QAbstractSpinBox::StepEnabled TextSpinBox::stepEnabled() const {
  if (isReadOnly()) return StepNone;
  return StepUpEnabled | StepDownEnabled;
}

void TextSpinBox::focusOutEvent(QFocusEvent* event) {
  QAbstractSpinBox::focusOutEvent(event);
  const auto v = parse(text());
  if (v && clamp(*v) != *v) setValue(clamp(*v));
}

}  // namespace morvin
