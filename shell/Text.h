// The widget boundary: the core speaks cp1250 bytes, widgets speak QString.
#pragma once

#include <QString>
#include <string>

namespace morvin {

QString fromAnsi(const std::string& cp1250Text);
std::string toAnsi(const QString& text);

}  // namespace morvin
