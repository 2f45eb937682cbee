// A square colour swatch that opens a colour choice when clicked (or when
// Space or Enter is pressed on it). Until a colour is set it shows the
// system's button-face colour.
#pragma once

#include <QColor>
#include <QFrame>
#include <optional>

namespace morvin {

class ColourSwatch : public QFrame {
  Q_OBJECT

 public:
  explicit ColourSwatch(QWidget* parent = nullptr);

  // The colour shown: the one set, else the button-face colour as it is now.
  QColor colour() const;
  void setColour(const QColor& colour);
  bool colourChosen() const { return colour_.has_value(); }

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::optional<QColor> colour_;
};

}  // namespace morvin
