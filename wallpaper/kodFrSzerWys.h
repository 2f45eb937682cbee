// Page 3 of the wallpaper wizard: the area the movie covers and its alignment.
#pragma once

#include <QFrame>

#include "ui_kodFrSzerWys.h"

namespace morvin {

class TFrSzerWys : public QFrame {
  Q_OBJECT

 public:
  explicit TFrSzerWys(QWidget* parent = nullptr);
  Ui::TFrSzerWys ui;
};

}  // namespace morvin
