#include "RtfCodePage.h"

#include <QStringDecoder>
#include <map>
#include <memory>

#include "registry/Cp1250.h"

namespace morvin::guide {

int codePageForCharset(int charset, int documentCodePage) {
  switch (charset) {
    case 2:
      return 28591;  // symbol fonts: the byte is the glyph number
    case 77:
      return 10000;
    case 128:
      return 932;
    case 129:
      return 949;
    case 130:
      return 1361;
    case 134:
      return 936;
    case 136:
      return 950;
    case 161:
      return 1253;
    case 162:
      return 1254;
    case 163:
      return 1258;
    case 177:
      return 1255;
    case 178:
      return 1256;
    case 186:
      return 1257;
    case 204:
      return 1251;
    case 222:
      return 874;
    case 238:
      return 1250;
    case 255:
      return 437;
    default:
      return documentCodePage;
  }
}

namespace {

const char* encodingName(int codePage) {
  switch (codePage) {
    case 437:
      return "IBM437";
    case 850:
      return "IBM850";
    case 852:
      return "IBM852";
    case 874:
      return "windows-874";
    case 932:
      return "Shift_JIS";
    case 936:
      return "GBK";
    case 949:
      return "windows-949";
    case 950:
      return "Big5";
    case 1251:
      return "windows-1251";
    case 1252:
      return "windows-1252";
    case 1253:
      return "windows-1253";
    case 1254:
      return "windows-1254";
    case 1255:
      return "windows-1255";
    case 1256:
      return "windows-1256";
    case 1257:
      return "windows-1257";
    case 1258:
      return "windows-1258";
    case 1361:
      return "johab";
    case 10000:
      return "macintosh";
    case 28591:
      return "ISO-8859-1";
    case 65001:
      return "UTF-8";
    default:
      return nullptr;
  }
}

QString decodeCp1250(const QByteArray& bytes) {
  QString text;
  text.reserve(bytes.size());
  for (char byte : bytes) text.append(QChar(char16_t(cp1250::toUnicode(static_cast<unsigned char>(byte)))));
  return text;
}

// Decoders are costly to make; one per code page, kept for the program's life.
QStringDecoder* decoderFor(int codePage) {
  static std::map<int, std::unique_ptr<QStringDecoder>> decoders;
  auto found = decoders.find(codePage);
  if (found != decoders.end()) return found->second.get();
  std::unique_ptr<QStringDecoder> decoder;
  if (const char* name = encodingName(codePage)) {
    decoder = std::make_unique<QStringDecoder>(name, QStringDecoder::Flag::Stateless);
    if (!decoder->isValid()) decoder.reset();
  }
  return decoders.emplace(codePage, std::move(decoder)).first->second.get();
}

}  // namespace

QString decodeCodePage(const QByteArray& bytes, int codePage) {
  if (bytes.isEmpty()) return {};
  if (codePage == 1250) return decodeCp1250(bytes);
  QStringDecoder* decoder = decoderFor(codePage);
  if (!decoder) return decodeCp1250(bytes);
  return decoder->decode(bytes);
}

}  // namespace morvin::guide
