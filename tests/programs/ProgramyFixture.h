// A throw-away machine holding only what a test puts in the uninstall list,
// and the installed-programs window made on it.
#pragma once

#include <QLineEdit>
#include <QListWidget>
#include <map>
#include <string>

#include "programs/kodProgramy.h"
#include "registry/WinReg.h"
#include "shell/WindowFactories.h"
#include "tests/support/gui/GuiTest.h"

namespace morvin::test {

inline constexpr const char* kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

class ProgramyTest : public GuiTest {
 protected:
  TempMachine::Content machineContent() const override { return TempMachine::Content::Empty; }

  static std::string entry(const std::string& subkey) { return std::string(kUninstall) + "\\" + subkey; }
  // An uninstall entry with text values (UTF-8).
  void addEntry(const std::string& subkey, const std::map<std::string, std::string>& texts) {
    machine->createKey(reg::kLocalMachine, entry(subkey));
    for (const auto& [name, text] : texts) machine->setString(reg::kLocalMachine, entry(subkey), name, text);
  }
  std::string text(const std::string& subkey, const std::string& name) {
    return machine->string(reg::kLocalMachine, entry(subkey), name);
  }
  bool has(const std::string& subkey, const std::string& name) {
    return machine->valueExists(reg::kLocalMachine, entry(subkey), name);
  }

  TfmProgramy* open() { return static_cast<TfmProgramy*>(createTfmProgramy(nullptr)); }
  static QListWidget* list(QWidget* w) { return child<QListWidget>(w, "Lista"); }
  static QLineEdit* nameField(QWidget* w) { return child<QLineEdit>(w, "NazwaProgramu"); }
  static QLineEdit* commandField(QWidget* w) { return child<QLineEdit>(w, "uninstaller"); }
  static QStringList lines(QWidget* w) {
    QStringList out;
    for (int i = 0; i < list(w)->count(); ++i) out << list(w)->item(i)->text();
    return out;
  }
  static int selectedLine(QWidget* w) {
    const auto rows = list(w)->selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
  }
  // Selects a line as the user does with the mouse or the keyboard.
  static void select(QWidget* w, int line) { list(w)->setCurrentRow(line); }

  QStringList notices() const { return dialogLog->texts(ShownDialog::Kind::Notice); }
};

}  // namespace morvin::test
