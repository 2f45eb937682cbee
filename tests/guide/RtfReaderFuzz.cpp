// Fuzz target: any bytes read as RTF (and the tips loader's plain-text path)
// without crashing or hanging.
#include <QGuiApplication>
#include <QTextDocument>
#include <cstdint>

#include "guide/RtfReader.h"
#include "guide/TipsText.h"

namespace {
void ensureApplication() {
  if (QGuiApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "fuzz-rtf";
  static char* argv[] = {name, nullptr};
  new QGuiApplication(argc, argv);
  // Font warnings for odd inputs would drown the driver's own report.
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  ensureApplication();
  QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QTextDocument document;
  // Half the inputs are forced to look like RTF so the reader sees them all.
  if (!bytes.startsWith("{\\rtf") && size > 0 && (data[0] & 1)) bytes.prepend("{\\rtf1 ");
  if (!morvin::guide::readRtf(bytes, document)) document.setPlainText(morvin::guide::decodePlainText(bytes));
  // Laying the text out is where broken formats would show.
  document.setTextWidth(300);
  (void)document.pageCount();
  (void)document.toPlainText();
  return 0;
}
