#include "SpinEdit.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QLocale>

namespace morvin {

SpinEdit::SpinEdit(QWidget* parent) : QAbstractSpinBox(parent) {
  setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
  setKeyboardTracking(true);
  connect(lineEdit(), &QLineEdit::textChanged, this, &SpinEdit::textChanged);
}

QString SpinEdit::text() const {
  return lineEdit()->text();
}

void SpinEdit::setText(const QString& text) {
  if (text != lineEdit()->text()) lineEdit()->setText(text);
}

std::optional<qint32> SpinEdit::wholeNumber(const QString& text) {
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

void SpinEdit::stepBy(int steps) {
  if (isReadOnly()) return;
  const qint64 from = wholeNumber(text()).value_or(min_);
  setText(QString::number(clamp(from + qint64(steps) * increment_)));
  lineEdit()->selectAll();
}

QValidator::State SpinEdit::validate(QString& input, int&) const {
  const QString separator = QLocale().decimalPoint();
  for (const QChar c : input)
    if (!(c >= u'0' && c <= u'9') && c != u'+' && c != u'-' && !separator.contains(c))
      return QValidator::Invalid;
  return QValidator::Acceptable;
}

void SpinEdit::focusOutEvent(QFocusEvent* event) {
  QAbstractSpinBox::focusOutEvent(event);
  // Only the user leaving the field settles the range: a field hidden with
  // its page (the wizard moving on) keeps the text as typed.
  if (!isVisible()) return;
  if (const auto n = wholeNumber(text()); n && clamp(*n) != *n) setText(QString::number(clamp(*n)));
}

}  // namespace morvin
