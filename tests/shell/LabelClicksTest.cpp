// Labels used as links: only the left button let go over the label clicks it.
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>

#include "app/LabelClicks.h"
#include "tests/support/gui/GuiTest.h"

namespace morvin::test {
namespace {

QMouseEvent mouse(QEvent::Type type, QPoint at, Qt::MouseButton button) {
  return QMouseEvent(type, QPointF(at), QPointF(at), button, button, Qt::NoModifier);
}

TEST(LabelClicks, OnlyTheLeftButtonLetGoOverTheLabelCounts) {
  ensureApplication();
  QLabel label("Poczta");
  label.resize(80, 20);
  auto releaseInside = mouse(QEvent::MouseButtonRelease, {10, 10}, Qt::LeftButton);
  auto releaseOutside = mouse(QEvent::MouseButtonRelease, {90, 10}, Qt::LeftButton);
  auto rightRelease = mouse(QEvent::MouseButtonRelease, {10, 10}, Qt::RightButton);
  auto pressInside = mouse(QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton);
  EXPECT_TRUE(isLeftClickInside(&label, &releaseInside));
  EXPECT_FALSE(isLeftClickInside(&label, &releaseOutside));  // pressed, then dragged off
  EXPECT_FALSE(isLeftClickInside(&label, &rightRelease));
  EXPECT_FALSE(isLeftClickInside(&label, &pressInside));
}

TEST(LabelClicks, TextColourChangesOnlyTheText) {
  ensureApplication();
  QLabel label("Poczta");
  const QColor background = label.palette().color(QPalette::Window);
  setTextColour(&label, Qt::red);
  EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(Qt::red));
  EXPECT_EQ(label.palette().color(QPalette::Window), background);
}

}  // namespace
}  // namespace morvin::test
