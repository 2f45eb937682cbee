#include "shell/TextSpinBox.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QLocale>

namespace morvin {

TextSpinBox::TextSpinBox(QWidget* parent) : QAbstractSpinBox(parent) {
  connect(lineEdit(), &QLineEdit::textChanged, this, &TextSpinBox::textChanged);
}

QString TextSpinBox::text() const {
  return lineEdit()->text();
}

void TextSpinBox::setText(const QString& text) {
  if (text != lineEdit()->text()) lineEdit()->setText(text);
}

std::optional<qint32> TextSpinBox::wholeNumber(const QString& text) {
  qsizetype i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  if (i == text.size()) return std::nullopt;
  qint64 n = 0;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (c < u'0' || c > u'9') return std::nullopt;
    n = n * 10 + (c - u'0');
    if (n > qint64(INT32_MAX) + 1) return std::nullopt;
  }
  if (negative) n = -n;
  if (n < INT32_MIN || n > INT32_MAX) return std::nullopt;
  return static_cast<qint32>(n);
}

void TextSpinBox::stepBy(int steps) {
  if (isReadOnly()) return;
  const qint64 from = number().value_or(minimum_);
  setText(QString::number(clamp(from + qint64(steps) * singleStep_)));
  lineEdit()->selectAll();
}

// Whether the number fits the range is settled when the field is left.
QValidator::State TextSpinBox::validate(QString& input, int&) const {
  const QString separator = QLocale().decimalPoint();
  for (qsizetype i = 0; i < input.size(); ++i) {
    const QChar c = input.at(i);
    const bool digit = c >= u'0' && c <= u'9';
    const bool sign = (c == u'+' || c == u'-') && (looseTyping_ || i == 0);
    const bool decimalSeparator = looseTyping_ && separator.contains(c);
    if (!digit && !sign && !decimalSeparator) return QValidator::Invalid;
  }
  return QValidator::Acceptable;
}

QAbstractSpinBox::StepEnabled TextSpinBox::stepEnabled() const {
  if (isReadOnly()) return StepNone;
  return StepUpEnabled | StepDownEnabled;
}

void TextSpinBox::focusOutEvent(QFocusEvent* event) {
  QAbstractSpinBox::focusOutEvent(event);
  if (keepsTextWhenHidden_ && !isVisible()) return;
  // Switching to another window or program, or opening a menu, is no leaving
  // of the field: only the focus moving to another control (or the window
  // closing) settles the number.
  const bool windowStaysShown = !window()->isHidden();  // being hidden: it is closing
  if (windowStaysShown &&
      (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason))
    return;
  if (const auto n = number(); n && clamp(*n) != *n) setText(QString::number(clamp(*n)));
}

}  // namespace morvin
