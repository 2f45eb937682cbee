// A number field with up/down arrows whose text is the user's: typing takes
// digits, signs and the decimal separator, the arrows step the number within
// the range, and a typed number is pulled into the range only when the user
// moves the focus elsewhere. What stands in the field is read as typed.
#pragma once

#include <QAbstractSpinBox>
#include <QString>
#include <optional>

namespace morvin {

class SpinEdit : public QAbstractSpinBox {
  Q_OBJECT
  Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged USER true)
  Q_PROPERTY(int minValue READ minValue WRITE setMinValue)
  Q_PROPERTY(int maxValue READ maxValue WRITE setMaxValue)
  Q_PROPERTY(int increment READ increment WRITE setIncrement)

 public:
  explicit SpinEdit(QWidget* parent = nullptr);

  QString text() const;
  void setText(const QString& text);
  int minValue() const { return min_; }
  void setMinValue(int v) { min_ = v; }
  int maxValue() const { return max_; }
  void setMaxValue(int v) { max_ = v; }
  int increment() const { return increment_; }
  void setIncrement(int v) { increment_ = v; }

  // The text as a whole number (optional sign, decimal digits, 32 bits), or nothing.
  static std::optional<qint32> wholeNumber(const QString& text);

  void stepBy(int steps) override;
  QValidator::State validate(QString& input, int& pos) const override;
  void fixup(QString& input) const override {}

 signals:
  void textChanged(const QString& text);

 protected:
  StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
  void focusOutEvent(QFocusEvent* event) override;

 private:
  qint64 clamp(qint64 v) const { return v < min_ ? min_ : v > max_ ? max_ : v; }

  int min_ = 1;
  int max_ = 1000000;
  int increment_ = 1;
};

}  // namespace morvin
