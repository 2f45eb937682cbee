#include "TipsText.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTextDocument>

#include "RtfCodePage.h"
#include "RtfReader.h"
#include "registry/Errors.h"
#include "shell/Text.h"

namespace morvin::guide {

namespace {

QByteArray readAllOrThrow(QIODevice& device) {
  if (device.size() > kMaxTipsBytes) throw Exception(kLoadStreamFailed);
  QByteArray data;
  char buffer[64 * 1024];
  for (;;) {
    const qint64 got = device.read(buffer, sizeof buffer);
    if (got < 0) throw Exception(kLoadStreamFailed);
    if (got == 0) break;
    if (data.size() + got > kMaxTipsBytes) throw Exception(kLoadStreamFailed);
    data.append(buffer, got);
  }
  return data;
}

QString decodeWithBom(const QByteArray& data) {
  if (data.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(data.mid(3));
  if (data.startsWith("\xFF\xFE")) return QStringDecoder(QStringConverter::Utf16LE).decode(data.mid(2));
  if (data.startsWith("\xFE\xFF")) return QStringDecoder(QStringConverter::Utf16BE).decode(data.mid(2));
  return decodeCodePage(data, kDefaultCodePage);
}

}  // namespace

QString decodePlainText(const QByteArray& data) {
  QString text = decodeWithBom(data);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

void loadTipsStream(QIODevice& device, QTextDocument& document) {
  const QByteArray data = readAllOrThrow(device);
  if (readRtf(data, document)) return;
  document.setPlainText(decodePlainText(data));
}

void loadTipsFile(const QString& path, QTextDocument& document) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw EFOpenError(formatMessage(msg::CannotOpenFile, toAnsi(QDir::toNativeSeparators(path))));
  loadTipsStream(file, document);
}

}  // namespace morvin::guide
