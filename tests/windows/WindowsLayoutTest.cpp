// What the user sees of the window: names for assistive tools, captions, the
// program's window colour over the scrolled content.
#include <QAbstractButton>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QScrollArea>

#include "WindowsTestSupport.h"

namespace morvin::test {
namespace {

TEST_F(WindowsWindowTest, EveryControlHasAnAccessibleName) {
  create();
  for (QWidget* w : window_->findChildren<QWidget*>()) {
    const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                         qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
                         qobject_cast<QGroupBox*>(w);
    // The spin box's own editor is named through the spin box.
    if (!control || w->objectName().isEmpty() || w->objectName().startsWith("qt_")) continue;
    EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
  }
  EXPECT_EQ(box("CheckBox18")->accessibleName(), QString::fromUtf8("Wyłącz migotanie kursora"));
}

TEST_F(WindowsWindowTest, GroupsCarryTheirCaptions) {
  create();
  QStringList titles;
  for (QGroupBox* group : window_->findChildren<QGroupBox*>()) titles << group->title();
  for (const char* title :
       {"Właściwości ekranu", "Hasła i administracja", "Drukarki", "Wyświetlanie obrazu w systemie Windows",
        "Profile użytkownika", "Właściwości systemu", "Rejestr Windows", "Komunikat", "Migotanie kursora"})
    EXPECT_TRUE(titles.contains(QString::fromUtf8(title))) << title;
}

TEST_F(WindowsWindowTest, TheWindowColourFillsTheScrolledContentAndTheMasterBoxes) {
  create();
  const QColor colour(0x40, 0x80, 0x20);
  setBackgroundColour(window_, colour);
  window_->show();
  processEvents();
  const QImage shot = window_->grab().toImage();
  // A point between the two columns, and a point inside the master box's own rectangle.
  QWidget* content = window_->findChild<QScrollArea*>()->widget();
  QWidget* master = box("CheckBox1");
  const QPoint between = content->mapTo(window_, QPoint(content->width() / 2, 4));
  const QPoint onMaster = master->mapTo(window_, QPoint(master->width() - 2, master->height() / 2));
  EXPECT_EQ(shot.pixelColor(between), colour);
  EXPECT_EQ(shot.pixelColor(onMaster), colour);
}

}  // namespace
}  // namespace morvin::test
