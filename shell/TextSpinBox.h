// A spin box whose text is the user's: it shows any text as it is ("-1", an
// empty text, a mistyped number), the arrows step from the number it holds
// within the range, and a number outside the range is pulled in only when the
// user moves on to another control (not when another window is activated). Each form sets what typing takes
// and whether a field hidden with its page keeps its text.
#pragma once

#include <QAbstractSpinBox>
#include <QString>
#include <optional>

namespace morvin {

class TextSpinBox : public QAbstractSpinBox {
  Q_OBJECT
  Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged USER true)
  Q_PROPERTY(int minimum READ minimum WRITE setMinimum)
  Q_PROPERTY(int maximum READ maximum WRITE setMaximum)
  Q_PROPERTY(int singleStep READ singleStep WRITE setSingleStep)
  // Off: typing takes a leading sign and digits. On: digits, signs anywhere
  // and the decimal separator, so that a bad number can stand in the field
  // and be reported when it is read.
  Q_PROPERTY(bool looseTyping READ looseTyping WRITE setLooseTyping)
  // On: losing the focus because the field is hidden (its page left) does not
  // pull the number into the range; the text is read as typed.
  Q_PROPERTY(bool keepsTextWhenHidden READ keepsTextWhenHidden WRITE setKeepsTextWhenHidden)

 public:
  explicit TextSpinBox(QWidget* parent = nullptr);

  QString text() const;
  void setText(const QString& text);

  int minimum() const { return minimum_; }
  void setMinimum(int v) { minimum_ = v; }
  int maximum() const { return maximum_; }
  void setMaximum(int v) { maximum_ = v; }
  void setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
  }
  int singleStep() const { return singleStep_; }
  void setSingleStep(int v) { singleStep_ = v; }
  bool looseTyping() const { return looseTyping_; }
  void setLooseTyping(bool on) { looseTyping_ = on; }
  bool keepsTextWhenHidden() const { return keepsTextWhenHidden_; }
  void setKeepsTextWhenHidden(bool on) { keepsTextWhenHidden_ = on; }

  // The text as a whole number (optional sign, decimal digits, 32 bits), or nothing.
  static std::optional<qint32> wholeNumber(const QString& text);

  void stepBy(int steps) override;
  QValidator::State validate(QString& input, int& pos) const override;
  void fixup(QString&) const override {}

 signals:
  void textChanged(const QString& text);

 protected:
  StepEnabled stepEnabled() const override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // The number the field holds; surrounding blanks of a stored text do not count.
  std::optional<qint32> number() const { return wholeNumber(text().trimmed()); }
  qint64 clamp(qint64 v) const { return v < minimum_ ? minimum_ : v > maximum_ ? maximum_ : v; }

  int minimum_ = 1;
  int maximum_ = 10000;
  int singleStep_ = 1;
  bool looseTyping_ = false;
  bool keepsTextWhenHidden_ = false;
};

}  // namespace morvin
