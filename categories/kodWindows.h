// "Windows": restrictions of the Control Panel sheets and system tools, the
// logon notice, the stored display mode and the cursor blink rate.
#pragma once

#include <QDialog>
#include <memory>
#include <optional>
#include <string>

#include "shell/Binding.h"

namespace Ui {
class TfmWindows;
}

namespace morvin {

// A whole number as typed in an edit field: optional blanks before it, an
// optional sign, decimal digits (or $ and hexadecimal digits); nothing else.
std::optional<std::int32_t> parseWholeNumber(const std::string& text);

class TfmWindows : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kNoticeLimit = 250;

  explicit TfmWindows(QWidget* parent = nullptr);
  ~TfmWindows() override;

 private:
  void FormCreate();
  void Button1Click();  // "Generuj": previews the notice
  void Button2Click();  // "Zapisz": stores the notice
  void Button3Click();  // "Wyczyść": empties the fields
  void Button4Click();  // stores the display mode
  void Memo1Change();
  std::string memoText() const;  // the notice text with CR LF line breaks, cp1250

  std::unique_ptr<Ui::TfmWindows> ui_;
  std::unique_ptr<binding::Engine> engine_;
  int memoLimit_ = 0;  // 0: no limit (until the load sets it)
};

}  // namespace morvin
