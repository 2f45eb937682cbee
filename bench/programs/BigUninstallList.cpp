#include "BigUninstallList.h"

#include <QApplication>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "registry/Cp1250.h"
#include "registry/RegistryStore.h"

namespace morvin::bench {

namespace {

constexpr const char* kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

reg::Status setText(reg::RegistryStore& store, reg::Key key, const std::string& name,
                    const std::string& text) {
  const std::string data = text + '\0';
  return store.setValue(key, name, reg::type::Sz, reinterpret_cast<const std::uint8_t*>(data.data()),
                        static_cast<std::uint32_t>(data.size()));
}

}  // namespace

void ensureOffscreenApplication() {
  if (QApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "bench_programs";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

std::unique_ptr<test::TempMachine> machineWithUninstallEntries(int count) {
  auto machine = std::make_unique<test::TempMachine>();
  reg::RegistryStore& store = reg::currentStore();
  const std::string polish = cp1250::fromUtf8("Gra łamigłówka ");
  const reg::Status status = store.atomically([&] {
    reg::Key list = 0;
    if (reg::Status s = store.createKey(reg::kLocalMachine, kUninstall, reg::access::AllAccess, &list))
      return s;
    for (int i = 0; i < count; ++i) {
      char subkey[32];
      std::snprintf(subkey, sizeof subkey, "Program%05d", i);
      reg::Key entry = 0;
      if (reg::Status s = store.createKey(list, subkey, reg::access::AllAccess, &entry)) return s;
      // Most entries have a name, some only a quiet one, every 50th shares its name with the next.
      const std::string name = polish + std::to_string(i % 50 == 0 ? i + 1 : i);
      reg::Status s = setText(store, entry, i % 7 == 0 ? "QuietDisplayName" : "DisplayName", name);
      if (!s)
        s = setText(store, entry, "UninstallString",
                    std::string("C:\\Program Files\\") + subkey + "\\un.exe");
      store.closeKey(entry);
      if (s) return s;
    }
    store.closeKey(list);
    return reg::err::Success;
  });
  if (status != reg::err::Success) throw std::runtime_error("could not fill the uninstall list");
  return machine;
}

}  // namespace morvin::bench
