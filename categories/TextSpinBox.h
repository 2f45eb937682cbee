// A spin box whose text is free: it shows any stored text as it is ("-1",
// an empty text), steps from the number it holds, and pulls an out-of-range
// number into the range only when it loses the focus.
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

 public:
  explicit TextSpinBox(QWidget* parent = nullptr);

  QString text() const;
  void setText(const QString& text);

  int minimum() const { return minimum_; }
  void setMinimum(int v) { minimum_ = v; }
  int maximum() const { return maximum_; }
  void setMaximum(int v) { maximum_ = v; }
  int singleStep() const { return singleStep_; }
  void setSingleStep(int v) { singleStep_ = v; }

  // The number the box holds: its text as a whole number, or the minimum when
  // the text is no number.
  int value() const;
  // Sets the number, pulled into the range.
  void setValue(int v);

  void stepBy(int steps) override;
  QValidator::State validate(QString& input, int& pos) const override;
  void fixup(QString& input) const override;

 signals:
  void textChanged(const QString& text);

 protected:
  StepEnabled stepEnabled() const override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  int clamp(qint64 v) const;
  static std::optional<qint64> parse(const QString& text);

  int minimum_ = 1;
  int maximum_ = 10000;
  int singleStep_ = 1;
};

}  // namespace morvin
