// Page 2 of the wallpaper wizard: the character set the page declares.
#pragma once

#include <QFrame>

#include "ui_kodFrKodZnak.h"

namespace morvin {

class TFrKodZnak : public QFrame {
  Q_OBJECT

 public:
  explicit TFrKodZnak(QWidget* parent = nullptr);
  Ui::TFrKodZnak ui;

 private:
  void offerEncodings();  // in the program's language
};

}  // namespace morvin
