#include "kodKreatorAnimTapeta.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include "WizardBanner.h"
#include "WizardCombo.h"
#include "kodFrKodZnak.h"
#include "kodFrKoniec.h"
#include "kodFrOpcjeAnim.h"
#include "kodFrPlikAnim.h"
#include "kodFrSzerWys.h"
#include "kodFrTytulTlo.h"
#include "registry/Errors.h"
#include "shell/DataPaths.h"
#include "shell/Guard.h"
#include "shell/Language.h"
#include "shell/Text.h"
#include "shell/TextSpinBox.h"
#include "shell/WindowSet.h"
#include "ui_kodKreatorAnimTapeta.h"
#include "wallpaper/generator/UtworzTapete.h"

namespace morvin {

namespace {

const QRect kPageArea(172, 8, 317, 297);  // right of the banner, above the line
constexpr int kLastQuestionStep = 5;
constexpr int kClosingStep = 6;
constexpr int kFinishStep = 7;

std::int32_t wholeNumberOf(const QString& text) {
  if (const auto n = TextSpinBox::wholeNumber(text)) return *n;
  throw EConvertError(formatMessage(msg::NotAnInteger, toAnsi(text)));
}

// 0x00BBGGRR of a colour as it is now: a colour never chosen is the
// button-face colour, resolved here to its current red, green and blue.
std::int32_t colourValue(const QColor& colour) {
  const QColor rgb = colour.toRgb();
  return rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16);
}

// The whole desktop in the screens' real pixels: a screen at 200 % counts
// twice its scaled size (a screen's corner stays in real pixels).
QSize desktopSize() {
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (!primary) return {};
  QRect desktop;
  for (const QScreen* screen : primary->virtualSiblings()) {
    const QRect scaled = screen->geometry();
    desktop |= QRect(scaled.topLeft(), (QSizeF(scaled.size()) * screen->devicePixelRatio()).toSize());
  }
  return desktop.size();
}

}  // namespace

TfmKreatorAnimTapeta::TfmKreatorAnimTapeta(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfmKreatorAnimTapeta>()) {
  ui->setupUi(this);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setFixedSize(size());
  // The caption and the next button follow the step: set again after the form's texts.
  retranslateOnLanguageChange(this, [this] {
    ui->retranslateUi(this);
    if (step_ >= 1) enterStep(step_);
  });
  ui->ImIcoKreator->setPixmap(wizardBanner(ui->ImIcoKreator->size()));

  connect(ui->SpeedButton1, &QToolButton::clicked, this,
          [this] { unguarded([this] { SpeedButton1Click(); }); });
  connect(ui->SpeedButton2, &QToolButton::clicked, this,
          [this] { unguarded([this] { SpeedButton2Click(); }); });
  connect(ui->SpeedButton3, &QToolButton::clicked, this,
          [this] { unguarded([this] { SpeedButton3Click(); }); });
  connect(ui->SpeedButton4, &QToolButton::clicked, this,
          [this] { unguarded([this] { SpeedButton4Click(); }); });

  unguarded([this] { FormCreate(); });
}

TfmKreatorAnimTapeta::~TfmKreatorAnimTapeta() = default;

void TfmKreatorAnimTapeta::FormCreate() {
  FrPlikAnim = new TFrPlikAnim(this);
  FrKodZnak = new TFrKodZnak(this);
  FrSzerWys = new TFrSzerWys(this);
  FrTytulTlo = new TFrTytulTlo(this);
  FrOpcjeAnim = new TFrOpcjeAnim(this);
  FrKoniec = new TFrKoniec(this);
  pages_ = {FrPlikAnim, FrKodZnak, FrSzerWys, FrTytulTlo, FrOpcjeAnim, FrKoniec};
  for (QFrame* page : pages_) {
    page->setGeometry(kPageArea);
    page->hide();
  }

  showPage(1);
  step_ = 1;
  setCaptionFor(1);

  if (const QSize desktop = desktopSize(); desktop.isValid()) {
    FrSzerWys->ui.SpinX->setText(QString::number(desktop.width()));
    FrSzerWys->ui.SpinY->setText(QString::number(desktop.height()));
  }

  // Centred over the main window, where there is one.
  if (QWidget* main = morvin::window(WindowId::MainForm)) move(main->geometry().center() - rect().center());
}

QFrame* TfmKreatorAnimTapeta::page(int step) const {
  return step >= 1 && step <= kClosingStep ? pages_[step - 1] : nullptr;
}

void TfmKreatorAnimTapeta::showPage(int step) {
  for (int i = 1; i <= kClosingStep; ++i)
    if (i != step) pages_[i - 1]->hide();
  pages_[step - 1]->show();
}

void TfmKreatorAnimTapeta::setCaptionFor(int step) {
  const QString caption = tr("Kreator animowanej tapety   ");
  if (step >= kClosingStep)
    setWindowTitle(caption);
  else
    setWindowTitle(caption + tr("[%1 z 5]").arg(step));
}

void TfmKreatorAnimTapeta::enterStep(int step) {
  step_ = step;
  showPage(std::min(step, kClosingStep));
  setCaptionFor(step);
  const bool closing = step >= kClosingStep;
  const QString next = closing ? tr("Zakończ") : tr("Dalej >");
  ui->SpeedButton2->setText(next);
  ui->SpeedButton2->setAccessibleName(next);  // screen readers say what the button shows
  ui->SpeedButton3->setEnabled(!closing);
}

void TfmKreatorAnimTapeta::takeValuesFor(int newStep) {
  switch (newStep) {
    case 2:
      dane_.PlikAnim = FrPlikAnim->PlikAnim();
      break;
    case 3:
      dane_.Kodowanie = toAnsi(FrKodZnak->ui.CbKodowanie->currentText());
      break;
    case 4: {
      // Both sizes are read before anything is kept, so a failed one leaves
      // the options as they were.
      const std::int32_t szer = wholeNumberOf(FrSzerWys->ui.SpinX->text());
      const std::int32_t wys = wholeNumberOf(FrSzerWys->ui.SpinY->text());
      dane_.Szer = szer;
      dane_.Wys = wys;
      dane_.Wyrownanie = toAnsi(fieldValue(FrSzerWys->ui.ComboBox1));
      break;
    }
    case 5:
      dane_.Tytul = toAnsi(FrTytulTlo->ui.Edit1->text());
      dane_.Kolor = colourValue(FrTytulTlo->ui.PanelKolor->colour());
      break;
    case 6:
      dane_.Jakosc = toAnsi(fieldValue(FrOpcjeAnim->ui.CbJakosc));
      dane_.PokazMenu = FrOpcjeAnim->ui.ChckMenu->isChecked();
      break;
    default:
      break;
  }
}

void TfmKreatorAnimTapeta::SpeedButton2Click() {
  if (step_ >= kFinishStep) {
    finish();  // a failed generation is tried again with the same options
    return;
  }
  const int left = step_;
  const int next = step_ + 1;
  if (next <= kLastQuestionStep) {
    // The page switch comes first; the values of the page left are read after it.
    enterStep(next);
    try {
      takeValuesFor(next);
    } catch (...) {
      enterStep(left);  // a size that is no number keeps the user on its page
      throw;
    }
    return;
  }
  takeValuesFor(next);
  enterStep(next);
  if (next == kFinishStep) finish();
}

void TfmKreatorAnimTapeta::finish() {
  wallpaper::UtworzTapete(dane_.PlikAnim, dane_.Kodowanie, dane_.Wyrownanie, dane_.Tytul, dane_.Jakosc,
                          dane_.Szer, dane_.Wys, dane_.Kolor, dane_.PokazMenu);
  accept();
}

void TfmKreatorAnimTapeta::SpeedButton3Click() {
  if (step_ <= 1 || step_ >= kClosingStep) return;
  enterStep(step_ - 1);
}

void TfmKreatorAnimTapeta::SpeedButton1Click() {
  reject();
}

void TfmKreatorAnimTapeta::SpeedButton4Click() {
  QWidget* main = morvin::window(WindowId::MainForm);
  openHelpDocument(main ? main : this);
}

void TfmKreatorAnimTapeta::keyPressEvent(QKeyEvent* event) {
  // No key presses the wizard's buttons: Escape and Enter do nothing here.
  switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      event->accept();
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

}  // namespace morvin
