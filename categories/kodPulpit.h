// The Desktop window: saving the desktop layout at shutdown, the Windows
// version on the desktop, bitmap previews as icons, and the entry to the
// animated wallpaper wizard.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TfmPulpit;
}

namespace morvin {
namespace binding {
class Engine;
}

class TfmPulpit : public QDialog {
  Q_OBJECT
 public:
  explicit TfmPulpit(QWidget* parent = nullptr);
  ~TfmPulpit() override;

  void FormCreate();
  void SpeedButton1Click();  // "Uruchom kreatora"

 private:
  std::unique_ptr<Ui::TfmPulpit> ui;
  binding::Engine* engine_ = nullptr;
};

}  // namespace morvin
