// Page 1 of the wallpaper wizard: the Flash movie file.
#pragma once

#include <QFrame>
#include <string>

#include "ui_kodFrPlikAnim.h"

namespace morvin {

class TFrPlikAnim : public QFrame {
  Q_OBJECT

 public:
  explicit TFrPlikAnim(QWidget* parent = nullptr);

  // The movie as the page will name it (cp1250): the file last confirmed in
  // the open dialog, as Windows sees it when it lies on the machine's drive;
  // empty when none was ever confirmed.
  std::string PlikAnim() const { return plikAnim_; }

  void SpeedButton1Click();  // "Otwórz"

  Ui::TFrPlikAnim ui;

 private:
  QString dialogFileName_;  // DialogOtworz's file name (host path)
  std::string plikAnim_;
};

}  // namespace morvin
