// The closing page of the wallpaper wizard.
#pragma once

#include <QFrame>

#include "ui_kodFrKoniec.h"

namespace morvin {

class TFrKoniec : public QFrame {
  Q_OBJECT

 public:
  explicit TFrKoniec(QWidget* parent = nullptr);
  Ui::TFrKoniec ui;
};

}  // namespace morvin
