// "Sztuczki w Windows - Praktyczny poradnik": the tips text that comes with
// the program, its printing, and the three guide articles.
#pragma once

#include <QDialog>
#include <QString>
#include <memory>

namespace Ui {
class TfmSztuczki;
}

namespace morvin {

class TfmSztuczki : public QDialog {
  Q_OBJECT

 public:
  explicit TfmSztuczki(QWidget* parent = nullptr);
  ~TfmSztuczki() override;

  // Loads Poradnik\sztuczki.txt (RTF, else plain text) and fills the article
  // list. Throws "Cannot open file %s" or "Failed to Load Stream"; the list
  // then stays empty.
  void FormCreate();

  void Button1Click();  // "Zamknij"
  void Button2Click();  // "Drukuj": the whole text on the default printer
  void Button3Click();  // "Czytaj artykuł"

  // The article chosen in Arty; empty when none is.
  QString chosenArticle() const;

 private:
  void followTypedArticle(const QString& text);

  std::unique_ptr<Ui::TfmSztuczki> ui;
};

}  // namespace morvin
