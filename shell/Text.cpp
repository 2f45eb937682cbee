#include "Text.h"

#include "registry/Cp1250.h"

namespace morvin {

QString fromAnsi(const std::string& cp1250Text) {
  return QString::fromStdString(cp1250::toUtf8(cp1250Text));
}

std::string toAnsi(const QString& text) {
  return cp1250::fromUtf8(text.toStdString());
}

}  // namespace morvin
