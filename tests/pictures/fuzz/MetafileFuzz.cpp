// Fuzz target: any bytes played as a WMF or EMF (and any packed DIB read)
// without crashing or hanging, into a picture no larger than the player's limit.
#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>

#include "pictures/Metafile.h"
#include "pictures/MetafileDib.h"
#include "pictures/MetafilePlayers.h"

namespace {
void ensureApplication() {
  if (QGuiApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "fuzz-metafile";
  static char* argv[] = {name, nullptr};
  new QGuiApplication(argc, argv);
  // Font and painter warnings for odd inputs would drown the driver's own report.
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
}
}  // namespace

// Fontconfig keeps its font cache until the process ends; that is no leak of the players.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace morvin::metafile;
  ensureApplication();
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QImage picture = render(bytes);
  if (picture.width() > kMaxSide || picture.height() > kMaxSide) std::abort();
  if (detect(bytes) == Kind::None && !picture.isNull()) std::abort();
  try {
    (void)readPackedDib(Bytes(bytes));
  } catch (const OutOfRange&) {
  }
  return 0;
}
