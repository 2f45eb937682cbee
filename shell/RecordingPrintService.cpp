#include "RecordingPrintService.h"

#include <QFile>
#include <QPrinter>
#include <QRegularExpression>

#include "registry/Errors.h"

namespace morvin {

void RecordingPrintService::print(QWidget* owner, const QTextDocument& document, const QString& title) {
  PrintJob job{owner, title, printJobTitle(title), {}};
  if (noPrinter_) {
    jobs_.push_back(job);
    throw Exception(kNoDefaultPrinter);
  }
  job.pdfFile = folder_ + QStringLiteral("/job-%1.pdf").arg(jobs_.size() + 1);
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(job.pdfFile);
  printer.setPageSize(QPageSize(QPageSize::A4));
  jobs_.push_back(job);
  printDocumentOn(printer, document, title);
}

int pdfPageCount(const QString& pdfFile) {
  QFile file(pdfFile);
  if (!file.open(QIODevice::ReadOnly)) return -1;
  const QByteArray pdf = file.readAll();
  // Each page object says "/Type /Page"; the page tree says "/Type /Pages".
  static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
  return static_cast<int>(QString::fromLatin1(pdf).count(page));
}

}  // namespace morvin
