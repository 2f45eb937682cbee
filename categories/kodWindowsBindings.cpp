#include "categories/kodWindowsBindings.h"

namespace morvin {

namespace {

constexpr const char* kSystemKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
constexpr const char* kExplorerKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr const char* kDesktopKey = "Control Panel\\Desktop";

// A policy flag of the current user; every click write reaches the error box.
binding::Row policy(const char* control, const char* key, const char* value, bool create) {
  return binding::Row{
      .control = control, .root = reg::kCurrentUser, .key = key, .value = value, .create = create};
}

}  // namespace

std::vector<binding::Row> windowsBindings() {
  using binding::Load;
  using binding::Row;
  using binding::Write;

  std::vector<Row> rows;
  // Display properties: the master and its four sheets; the write creates the key.
  rows.push_back(policy("CheckBox1", kSystemKey, "NoDispCPL", true));
  rows.back().disables = {"CheckBox2", "CheckBox3", "CheckBox4", "CheckBox5"};
  rows.push_back(policy("CheckBox2", kSystemKey, "NoDispBackgroundPage", true));
  rows.push_back(policy("CheckBox3", kSystemKey, "NoDispScrSavPage", true));
  rows.push_back(policy("CheckBox4", kSystemKey, "NoDispAppearancePage", true));
  rows.push_back(policy("CheckBox5", kSystemKey, "NoDispSettingsPage", true));
  // Passwords: the master and its two sheets; the write creates the key.
  rows.push_back(policy("CheckBox7", kSystemKey, "NoSecCPL", true));
  rows.back().disables = {"CheckBox8", "CheckBox9"};
  rows.push_back(policy("CheckBox8", kSystemKey, "NoPwdPage", true));
  rows.push_back(policy("CheckBox9", kSystemKey, "NoAdminPage", true));
  // The rest need the policy key to exist.
  rows.push_back(policy("CheckBox6", kSystemKey, "NoProfilePage", false));
  rows.push_back(policy("CheckBox10", kSystemKey, "NoDevMgrPage", false));
  rows.push_back(policy("CheckBox11", kSystemKey, "NoConfigPage", false));
  rows.push_back(policy("CheckBox12", kSystemKey, "NoFileSysPage", false));
  rows.push_back(policy("CheckBox13", kSystemKey, "NoVirtMemPage", false));
  rows.push_back(policy("CheckBox14", kSystemKey, "DisableRegistryTools", false));
  rows.push_back(policy("CheckBox15", kExplorerKey, "NoPrinterTabs", false));
  rows.push_back(policy("CheckBox16", kExplorerKey, "NoDeletePrinter", false));
  rows.push_back(policy("CheckBox17", kExplorerKey, "NoAddPrinter", false));

  // Cursor blink: "-1" means no blinking; the spin box shows the text as stored.
  rows.push_back(Row{.control = "CheckBox18",
                     .root = reg::kCurrentUser,
                     .key = kDesktopKey,
                     .value = "CursorBlinkRate",
                     .load = Load::TextEquals,
                     .write = Write::FixedTexts,
                     .onText = "-1",
                     .offText = "200",
                     .uncheckOnOther = true});
  rows.push_back(Row{.control = "SpinEdit1",
                     .root = reg::kCurrentUser,
                     .key = kDesktopKey,
                     .value = "CursorBlinkRate",
                     .load = Load::TextIntoControl,
                     .write = Write::TextOfControl,
                     .guarded = true,
                     .skipEmpty = true});
  return rows;
}

}  // namespace morvin
