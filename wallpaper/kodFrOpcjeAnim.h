// Page 5 of the wallpaper wizard: the movie's quality and context menu.
#pragma once

#include <QFrame>

#include "ui_kodFrOpcjeAnim.h"

namespace morvin {

class TFrOpcjeAnim : public QFrame {
  Q_OBJECT

 public:
  explicit TFrOpcjeAnim(QWidget* parent = nullptr);
  Ui::TFrOpcjeAnim ui;
};

}  // namespace morvin
