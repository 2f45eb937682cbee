// The printing service: job titles the print system accepts, and jobs that
// cannot start are reported.
#include <gtest/gtest.h>

#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTextDocument>

#include "registry/Errors.h"
#include "shell/PrintService.h"
#include "shell/RecordingPrintService.h"

namespace morvin::test {
namespace {

TEST(PrintJobTitle, IsCutToWhatThePrintSystemAcceptsWithoutSplittingCharacters) {
  EXPECT_EQ(printJobTitle("Sztuczki"), "Sztuczki");
  EXPECT_EQ(printJobTitle(QString(300, 'a')), QString(255, 'a'));
  // Two bytes each: 127 letters make 254 bytes, the 128th would not fit.
  EXPECT_EQ(printJobTitle(QString(300, QChar(0x0105))), QString(127, QChar(0x0105)));
  // A character outside the BMP is kept whole or left out whole.
  const QString emoji = QString::fromUtf8("😀");
  const QString title = printJobTitle(QString(253, 'a') + emoji);
  EXPECT_EQ(title, QString(253, 'a'));
  EXPECT_EQ(printJobTitle(QString(251, 'a') + emoji + "b"), QString(251, 'a') + emoji);
  // Line breaks of the text would break a queue's line.
  EXPECT_EQ(printJobTitle(QString::fromUtf8("a\nb\tc\u2029d\u2028e")), "a b c d e");
  EXPECT_EQ(printJobTitle(QString()), QString());
}

TEST(PrintService, AJobThatCannotStartIsReportedNotPassedOffAsPrinted) {
  QTemporaryDir dir;
  QTextDocument document;
  document.setPlainText("tekst");
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.path() + "/no-such-folder/job.pdf");
  try {
    printDocumentOn(printer, document, "tekst");
    ADD_FAILURE() << "a job into a missing folder passed as printed";
  } catch (const Exception& e) {
    EXPECT_EQ(e.message(), kPrinterNotValid);
  }
}

TEST(PrintService, TheSystemServiceWithoutAnyPrinterSaysSo) {
  // Only where no printer is installed: elsewhere this would print for real.
  if (!QPrinterInfo::availablePrinters().isEmpty()) GTEST_SKIP() << "this system has printers";
  setPrintService(nullptr);
  QTextDocument document;
  document.setPlainText("tekst");
  try {
    printService().print(nullptr, document, "tekst");
    ADD_FAILURE() << "printing without a printer passed";
  } catch (const Exception& e) {
    EXPECT_EQ(e.message(), kNoDefaultPrinter);
  }
}

TEST(PrintService, TheRecordingServicePrintsIntoPdfFiles) {
  QTemporaryDir dir;
  RecordingPrintService service(dir.path());
  QTextDocument document;
  document.setPlainText("jedna strona");
  service.print(nullptr, document, "jedna strona");
  service.print(nullptr, document, "jedna strona");
  ASSERT_EQ(service.jobs().size(), 2u);
  EXPECT_NE(service.jobs()[0].pdfFile, service.jobs()[1].pdfFile);
  EXPECT_EQ(pdfPageCount(service.jobs()[1].pdfFile), 1);
  EXPECT_EQ(pdfPageCount(dir.path() + "/missing.pdf"), -1);
}

}  // namespace
}  // namespace morvin::test
