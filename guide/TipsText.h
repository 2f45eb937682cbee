// The guide window's tips text: read as RTF when the file is RTF, else as
// plain text in the system's ANSI code page.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

class QIODevice;
class QTextDocument;

namespace morvin::guide {

inline constexpr const char* kLoadStreamFailed = "Failed to Load Stream";
// A bigger file is refused rather than stalling the program's start.
inline constexpr qint64 kMaxTipsBytes = 64 * 1024 * 1024;

// Throws EFOpenError "Cannot open file %s" (the path for %s) when the file
// cannot be opened, and Exception "Failed to Load Stream" when it cannot be
// read; the document is then left as it was.
void loadTipsFile(const QString& path, QTextDocument& document);
// The same for an open device (read from where it stands).
void loadTipsStream(QIODevice& device, QTextDocument& document);

// Plain text: cp1250 unless a byte-order mark says UTF-8 or UTF-16; CR LF,
// CR and LF each end a line.
QString decodePlainText(const QByteArray& data);

}  // namespace morvin::guide
