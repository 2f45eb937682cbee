// The wizard's banner: a tall picture along its left edge, drawn in code.
#pragma once

#include <QPixmap>
#include <QSize>

namespace morvin {

QPixmap wizardBanner(QSize size);

}  // namespace morvin
