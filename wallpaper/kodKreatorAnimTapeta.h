// The animated wallpaper wizard: five pages of questions and a closing page;
// "Zakończ" writes the wallpaper page. Created anew at every opening.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <memory>
#include <string>

class QFrame;
namespace Ui {
class TfmKreatorAnimTapeta;
}

namespace morvin {

class TFrPlikAnim;
class TFrKodZnak;
class TFrSzerWys;
class TFrTytulTlo;
class TFrOpcjeAnim;
class TFrKoniec;

// The options collected from the pages, in the order the page generator takes
// them. Texts are cp1250; Kolor is 0x00BBGGRR.
struct TDane {
  std::string PlikAnim;
  std::string Kodowanie;
  std::string Wyrownanie;
  std::string Tytul;
  std::string Jakosc;
  std::int32_t Szer = 0;
  std::int32_t Wys = 0;
  std::int32_t Kolor = 0;
  bool PokazMenu = false;
};

class TfmKreatorAnimTapeta : public QDialog {
  Q_OBJECT

 public:
  explicit TfmKreatorAnimTapeta(QWidget* parent = nullptr);
  ~TfmKreatorAnimTapeta() override;

  void FormCreate();
  void SpeedButton1Click();  // "Anuluj"
  void SpeedButton2Click();  // "Dalej >" / "Zakończ"
  void SpeedButton3Click();  // "< Wstecz"
  void SpeedButton4Click();  // "Pomoc"

  int step() const { return step_; }
  const TDane& Dane() const { return dane_; }
  // The page frame shown for a step (1..6).
  QFrame* page(int step) const;

  TFrPlikAnim* FrPlikAnim = nullptr;
  TFrKodZnak* FrKodZnak = nullptr;
  TFrSzerWys* FrSzerWys = nullptr;
  TFrTytulTlo* FrTytulTlo = nullptr;
  TFrOpcjeAnim* FrOpcjeAnim = nullptr;
  TFrKoniec* FrKoniec = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void showPage(int step);
  void setCaptionFor(int step);
  void enterStep(int step);
  // Reads the values of the page just left on the way to `newStep`.
  void takeValuesFor(int newStep);
  void finish();

  int step_ = 1;
  TDane dane_;
  std::array<QFrame*, 6> pages_{};
  std::unique_ptr<Ui::TfmKreatorAnimTapeta> ui;
};

}  // namespace morvin
