// "Sieć": the network policies of Windows — share passwords, dial-in, printer
// sharing, the Network control panel and what the network neighbourhood shows.
#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "shell/Binding.h"

namespace Ui {
class TfmWeb;
}

namespace morvin {

class TfmWeb : public QDialog {
  Q_OBJECT

 public:
  explicit TfmWeb(QWidget* parent = nullptr);
  ~TfmWeb() override;

  // The window's thirteen bindings, CheckBox1 .. CheckBox13 in load order.
  static std::vector<binding::Row> Bindings();

 private:
  void FormCreate();

  std::unique_ptr<Ui::TfmWeb> ui;
  binding::Engine* engine = nullptr;  // owned by the window
};

}  // namespace morvin
