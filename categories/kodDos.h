// The MS-DOS window: policies against MS-DOS programs and the boot options
// kept in MsDos.sys at the root of the Windows drive.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TfmDos;
}

namespace morvin {
namespace binding {
class Engine;
}

class TfmDos : public QDialog {
  Q_OBJECT
 public:
  explicit TfmDos(QWidget* parent = nullptr);
  ~TfmDos() override;  // runs FormDestroy

  void FormCreate();
  void FormDestroy();

 private:
  void loadBootOptions();
  void enableDelay(bool on);

  std::unique_ptr<Ui::TfmDos> ui;
  binding::Engine* engine_ = nullptr;
};

}  // namespace morvin
