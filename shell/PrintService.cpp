#include "PrintService.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>

#include "registry/Errors.h"

namespace morvin {

QString printJobTitle(const QString& text) {
  QString title;
  title.reserve(std::min<qsizetype>(text.size(), kMaxJobTitleBytes));
  int bytes = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    char32_t c = text.at(i).unicode();
    int units = 1;
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
      c = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
      units = 2;
    }
    const bool control = c < 0x20 || c == 0x7F || c == 0x2028 || c == 0x2029;
    const int size = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    if (bytes + size > kMaxJobTitleBytes) break;
    bytes += size;
    if (control)
      title.append(QLatin1Char(' '));
    else
      title.append(text.mid(i, units));
    i += units - 1;
  }
  return title;
}

void printDocumentOn(QPrinter& printer, const QTextDocument& document, const QString& title) {
  printer.setDocName(printJobTitle(title));
  if (!printer.isValid()) throw Exception(kPrinterNotValid);
  document.print(&printer);
  // A job that could not start is reported, not passed off as printed.
  if (printer.printerState() == QPrinter::Error) throw Exception(kPrinterNotValid);
}

namespace {

class SystemPrintService final : public PrintService {
 public:
  void print(QWidget*, const QTextDocument& document, const QString& title) override {
    const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
    if (printerInfo.isNull()) throw Exception(kNoDefaultPrinter);
    QPrinter printer(printerInfo, QPrinter::HighResolution);
    printDocumentOn(printer, document, title);
  }
};

std::shared_ptr<PrintService>& current() {
  static std::shared_ptr<PrintService> service = std::make_shared<SystemPrintService>();
  return service;
}

}  // namespace

PrintService& printService() {
  return *current();
}

void setPrintService(std::shared_ptr<PrintService> service) {
  current() = service ? std::move(service) : std::make_shared<SystemPrintService>();
}

}  // namespace morvin
