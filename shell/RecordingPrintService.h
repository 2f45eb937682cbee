// Test double of the printing service: prints into a PDF file instead of a
// printer and records every job, or fails as a system without printers does.
#pragma once

#include <QString>
#include <vector>

#include "PrintService.h"

namespace morvin {

struct PrintJob {
  QWidget* owner = nullptr;
  QString title;      // as the window asked
  QString queueName;  // as the print queue got it
  QString pdfFile;    // where the pages went; empty when nothing was printed
};

class RecordingPrintService final : public PrintService {
 public:
  // Jobs go to `pdfFolder`/job-<n>.pdf.
  explicit RecordingPrintService(QString pdfFolder) : folder_(std::move(pdfFolder)) {}

  // Behaves as a system without any printer.
  void setNoPrinter(bool none) { noPrinter_ = none; }

  void print(QWidget* owner, const QTextDocument& document, const QString& title) override;
  const std::vector<PrintJob>& jobs() const { return jobs_; }

 private:
  QString folder_;
  bool noPrinter_ = false;
  std::vector<PrintJob> jobs_;
};

// Pages of a PDF file written by Qt; -1 when the file cannot be read.
int pdfPageCount(const QString& pdfFile);

}  // namespace morvin
