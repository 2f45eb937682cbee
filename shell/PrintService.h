// Printing: every document the program prints goes through here, so tests
// can print into a PDF file instead of a printer.
#pragma once

#include <QString>
#include <memory>

class QPrinter;
class QTextDocument;
class QWidget;

namespace morvin {

// The failure shown in the error box when the system has no printer.
inline constexpr const char* kNoDefaultPrinter = "There is no default printer currently selected";
// The failure when the printer cannot start the job.
inline constexpr const char* kPrinterNotValid = "Printer selected is not valid";

// Print systems take job names of at most 255 bytes (IPP's name(MAX)).
inline constexpr int kMaxJobTitleBytes = 255;

// The job title a print queue accepts: line breaks and other control
// characters become spaces, and the text is cut to kMaxJobTitleBytes of UTF-8
// without splitting a character.
QString printJobTitle(const QString& text);

class PrintService {
 public:
  virtual ~PrintService() = default;
  // Prints the whole document, paginated, on the default printer, with
  // `title` as the job's name in the print queue. Throws morvin::Exception
  // (kNoDefaultPrinter, kPrinterNotValid) when it cannot print.
  virtual void print(QWidget* owner, const QTextDocument& document, const QString& title) = 0;
};

PrintService& printService();
// nullptr restores the system's printing.
void setPrintService(std::shared_ptr<PrintService> service);

// Prints `document` on a printer made ready by the caller; throws kPrinterNotValid
// when the job cannot start. Shared by the real service and the test double.
void printDocumentOn(QPrinter& printer, const QTextDocument& document, const QString& title);

}  // namespace morvin
