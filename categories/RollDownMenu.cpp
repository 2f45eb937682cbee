#include "RollDownMenu.h"

#include <QMenu>
#include <QPointer>
#include <QRegion>
#include <QVariantAnimation>

namespace morvin {

namespace {
constexpr int kUnrollMilliseconds = 150;
}

void popupRollingDown(QMenu* menu, const QPoint& screenPosition) {
  menu->popup(screenPosition);
  // The visible part grows from the top edge; the mask goes once the menu is whole.
  QPointer<QMenu> target(menu);
  auto* unroll = new QVariantAnimation(menu);
  unroll->setDuration(kUnrollMilliseconds);
  unroll->setStartValue(0.0);
  unroll->setEndValue(1.0);
  QObject::connect(unroll, &QVariantAnimation::valueChanged, menu, [target](const QVariant& v) {
    if (!target) return;
    const int height = qMax(1, int(target->height() * v.toDouble()));
    target->setMask(QRegion(0, 0, target->width(), height));
  });
  QObject::connect(unroll, &QVariantAnimation::finished, menu, [target] {
    if (target) target->clearMask();
  });
  QObject::connect(menu, &QMenu::aboutToHide, unroll, [unroll, target] {
    unroll->stop();
    if (target) target->clearMask();
  });
  unroll->start(QAbstractAnimation::DeleteWhenStopped);
}

}  // namespace morvin
