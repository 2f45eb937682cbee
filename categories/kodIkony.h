// The Icons window: descriptions of the five desktop objects, desktop icon
// options, the shortcut arrow and the Recycle Bin's name.
#pragma once

#include <QDialog>
#include <memory>

class QMenu;
class QAction;
namespace Ui {
class TfmIkony;
}

namespace morvin {
namespace binding {
class Engine;
}

class TfmIkony : public QDialog {
  Q_OBJECT
 public:
  explicit TfmIkony(QWidget* parent = nullptr);
  ~TfmIkony() override;

  // Whether the window shows tooltips (CheckBox1 switches them).
  bool tooltipsShown() const { return tooltips_; }
  void setTooltipsShown(bool on) { tooltips_ = on; }
  // The name suggestions (PopupMenu1).
  QMenu* suggestions() const { return PopupMenu1; }

  // Handlers, named after their controls; public so tests can run them directly.
  void FormCreate();
  void SpeedButtonMouseMove(int object);  // 0..4: SpeedButton1..5
  void SpeedButtonClick(int object);      // asks for a new description
  void DefaultButtonClick(int object);    // SpeedButton6..10 "Domyślnie"
  void Button1Click();
  void Panel1Click(const QPoint& screenPosition);
  void SuggestionClick(QAction* item);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void nameSuggestions();  // in the system's language
  void buildSuggestions();
  void loadPictures();
  void connectHandlers();

  std::unique_ptr<Ui::TfmIkony> ui;
  binding::Engine* engine_ = nullptr;
  QMenu* PopupMenu1 = nullptr;
  bool tooltips_ = true;  // switched on at design time
};

}  // namespace morvin
