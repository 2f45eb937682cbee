#include "kodFrPlikAnim.h"

#include "platform/DriveMapping.h"
#include "shell/DialogService.h"
#include "shell/Guard.h"
#include "shell/Language.h"
#include "shell/Text.h"

namespace morvin {

namespace {

// A movie on the machine's drive is named by its C:\ path, as the page is
// read there; a movie elsewhere keeps its own full path.
std::string movieName(const QString& hostPath) {
  if (auto windowsPath = platform::toWindowsPath(hostPath.toStdString())) return *windowsPath;
  return toAnsi(hostPath);
}

}  // namespace

TFrPlikAnim::TFrPlikAnim(QWidget* parent) : QFrame(parent) {
  ui.setupUi(this);
  retranslateOnLanguageChange(this, [this] { ui.retranslateUi(this); });
  connect(ui.SpeedButton1, &QToolButton::clicked, this,
          [this] { unguarded([this] { SpeedButton1Click(); }); });
}

void TFrPlikAnim::SpeedButton1Click() {
  const auto chosen = dialogs().openFile(this, tr("Wskaż plik, który zawiera animację..."),
                                         {tr("Pliki z animacją Flash (*.SWF)")}, dialogFileName_);
  if (!chosen) return;
  dialogFileName_ = *chosen;
  plikAnim_ = movieName(*chosen);
  ui.LLokalizacja->setText(fromAnsi(plikAnim_));
}

}  // namespace morvin
