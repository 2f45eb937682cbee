// Page 4 of the wallpaper wizard: the page's title and background colour.
#pragma once

#include <QColor>
#include <QFrame>

#include "ui_kodFrTytulTlo.h"

namespace morvin {

class TFrTytulTlo : public QFrame {
  Q_OBJECT

 public:
  explicit TFrTytulTlo(QWidget* parent = nullptr);

  void PanelKolorClick();  // the colour swatch

  Ui::TFrTytulTlo ui;

 private:
  QColor dialogKolor_ = Qt::black;  // DialogKolor's colour: black until one is chosen
};

}  // namespace morvin
