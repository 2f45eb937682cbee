// Paths the registry holds as cp1250 bytes: one with a character outside that
// code page would read back different (a "?" in its place), so it is never stored.
#pragma once

#include <QString>
#include <optional>
#include <string>

class QWidget;

namespace morvin {

// The path in cp1250 when it reads back the same; else nothing, after a
// message box that says why nothing was stored.
std::optional<std::string> storablePath(QWidget* parent, const QString& path);

}  // namespace morvin
