// Setting bindings: a window declares one Row per bound control; one engine
// loads them in order and performs the writes. The engine drives any widget
// through its USER property (checked, text, value) and that property's notify
// signal, so writes run on real changes made by code or by the user (never on
// clicks that change nothing).
#pragma once

#include <QObject>
#include <QVariant>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "registry/TRegistry.h"
#include "registry/WinReg.h"

class QWidget;

namespace morvin::binding {

enum class Load {
  Flag,             // DWORD nonzero -> checked
  FlagIsOne,        // DWORD 1 -> checked, any other number unchecked and kept as stored (Hidden: 0, 1, 2)
  TextEquals,       // checked when the text equals onText; else unchecked (or left, see uncheckOnOther)
  TextIntoControl,  // the text becomes the control's text (skipEmpty: an empty text is not set)
  IniFlag,          // IniReadFlag with iniDefault
  IniNumber,        // IniReadNumber with iniDefault, set as the control's number
  ValuePresence,    // checked when the value exists, any type
  None,             // not loaded
  Custom,           // customLoad does the step
};

enum class Write {
  Flag,           // WriteFlag(checked)
  FixedTexts,     // checked/selected: onText; else offText (nullptr: nothing)
  TextOfControl,  // WriteText(control's text)
  IniFlag,        // IniWriteFlag through a new TIniFile on iniPath()
  IniNumber,      // IniWriteNumber of the control's number
  ValuePresence,  // checked: WriteText(""), unchecked: RemoveValue
  None,           // written elsewhere
  Custom,         // customWrite does the write
};

struct Row {
  const char* control;  // designer name (objectName)
  reg::Key root;        // 0 for an INI row
  const char* key;      // registry path (no leading backslash) or INI section; UTF-8
  const char* value;    // value name or INI key; "" is the default value; UTF-8
  Load load = Load::Flag;
  Write write = Write::Flag;
  bool create = false;                     // the write opens its key with creation
  bool guarded = false;                    // a failed write is swallowed (else: application error box)
  bool loadCreates = false;                // the load opens its key with creation
  const char* onText = nullptr;            // TextEquals / FixedTexts
  const char* offText = nullptr;           // FixedTexts when unchecked
  bool uncheckOnOther = true;              // TextEquals: a different text sets unchecked
  bool skipEmpty = false;                  // TextIntoControl: an empty text is not set
  int iniDefault = 0;                      // IniFlag (0/1) and IniNumber
  std::vector<const char*> disables = {};  // master box: checked disables these, unchecked enables
  // After a successful write (also one that a load sets off): side effects.
  std::function<void(QWidget* window, const QVariant& state)> after = {};
  // Custom rows get a cursor on the row's root with the row's key opened as
  // the row says (no key open when that failed, or when `key` is null/empty).
  std::function<void(TRegistry& reg, QWidget* window)> customLoad = {};
  std::function<void(TRegistry& reg, QWidget* window, const QVariant& state)> customWrite = {};
};

class Engine : public QObject {
  Q_OBJECT
 public:
  // `iniPath` gives the INI file of INI rows, computed anew at each use.
  Engine(QWidget* window, std::vector<Row> rows, std::function<std::string()> iniPath = {});

  // Connects each row's control to its write; call before load().
  void connectWrites();
  // connectWrites() then load(): what a window's creation handler calls.
  void start();
  // Loads every row in order, each a guarded step with no key open, on a cursor of its own.
  void load();
  // Loads again to show what is stored now, with the controls' signals held
  // back: nothing is written (masters still enable and disable their boxes).
  void reload();
  void loadRow(const Row& row);
  // Performs the row's write for the control's current state (guarded or not, as the row says).
  void writeRow(const Row& row);

  QWidget* control(const Row& row) const;
  const std::vector<Row>& rows() const { return rows_; }
  const Row* rowFor(const char* control) const;

  // The USER property of a widget, as the engine reads and sets it. Setting the
  // state a control already has does nothing; clearing a selected radio button
  // leaves its group with none selected (and runs no write).
  static QVariant state(QWidget* w);
  static void setState(QWidget* w, const QVariant& v);

 private:
  void applyEnabling(const Row& row, bool checked);
  void performWrite(const Row& row);
  void performLoad(const Row& row);

 private slots:
  // The USER property of a bound control changed (by code or by the user).
  void controlChanged();

 private:
  QWidget* window_;
  std::vector<Row> rows_;
  std::function<std::string()> iniPath_;
  std::map<const QObject*, std::vector<std::size_t>> rowsOfControl_;
};

}  // namespace morvin::binding
