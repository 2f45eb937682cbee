// Test doubles of the dialog and shell services: answers are scripted ahead,
// every dialog and shell call is recorded, and nothing ever blocks. When a
// script runs out the safe answer is given (No, cancel) and recorded as such.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

#include "DialogService.h"
#include "ShellService.h"

namespace morvin {

struct ShownDialog {
  enum class Kind { ErrorBox, Question, Notice, InputBox, OpenFile, ChooseColor, SaveFile, ChooseFolder };
  Kind kind;
  QString caption;  // the error box's caption for ErrorBox; the title for OpenFile and ChooseFolder
  QString text;     // message, prompt; for OpenFile the filters joined by ";;"
  MsgIcon icon = MsgIcon::None;
  QString initial;  // input box text, file name or colour name offered
  QString answer;   // "Yes", "No", "Ok", the text / file / colour chosen, or "Cancel"
  QWidget* parent = nullptr;
};

class RecordingDialogService final : public DialogService {
 public:
  // Scripts, consumed in order per kind.
  void answerQuestion(Answer a) { questions_.push_back(a); }
  void answerInput(std::optional<QString> text) { inputs_.push_back({!text, text.value_or(QString())}); }
  void answerFile(std::optional<QString> file) { files_.push_back({!file, file.value_or(QString())}); }
  void answerFolder(std::optional<QString> folder) {
    folders_.push_back({!folder, folder.value_or(QString())});
  }
  void answerColour(std::optional<QColor> colour) {
    colours_.push_back({!colour, colour.value_or(QColor())});
  }

  const std::vector<ShownDialog>& shown() const { return shown_; }
  // Texts of the shown dialogs of one kind, in order.
  QStringList texts(ShownDialog::Kind kind) const;
  QStringList errors() const { return texts(ShownDialog::Kind::ErrorBox); }
  int count(ShownDialog::Kind kind) const;
  // Forgets what was shown (the scripts stay).
  void clearShown() { shown_.clear(); }
  bool scriptsUsedUp() const {
    return questions_.empty() && inputs_.empty() && files_.empty() && folders_.empty() && colours_.empty();
  }

  void errorBox(const QString& text) override;
  Answer question(QWidget* parent, const QString& caption, const QString& text, MsgIcon icon) override;
  void notice(QWidget* parent, const QString& caption, const QString& text, MsgIcon icon) override;
  std::optional<QString> inputBox(QWidget* parent, const QString& caption, const QString& prompt,
                                  const QString& initial) override;
  std::optional<QString> openFile(QWidget* parent, const QString& title, const QStringList& filters,
                                  const QString& initialFile) override;
  std::optional<QString> chooseFolder(QWidget* parent, const QString& title, const QString& initial) override;
  // Takes its answer from the same script as openFile (answerFile).
  std::optional<QString> saveFile(QWidget* parent, const QString& title, const QStringList& filters,
                                  const QString& initialFile) override;
  std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) override;

 private:
  std::vector<ShownDialog> shown_;
  std::deque<Answer> questions_;
  template <class T>
  struct Scripted {
    bool cancel = true;
    T value{};
  };
  std::deque<Scripted<QString>> inputs_;
  std::deque<Scripted<QString>> files_;
  std::deque<Scripted<QString>> folders_;
  std::deque<Scripted<QColor>> colours_;
};

struct ShellCall {
  enum class Kind { Execute, WinExec };
  Kind kind;
  QWidget* owner = nullptr;
  QString verb;  // Execute only
  QString file;  // the file or address; for WinExec the command line
  int showCommand = 0;
};

class RecordingShellService final : public ShellService {
 public:
  void execute(QWidget* owner, const QString& verb, const QString& file, int showCommand) override {
    calls_.push_back({ShellCall::Kind::Execute, owner, verb, file, showCommand});
  }
  void winExec(const QString& commandLine, int showCommand) override {
    calls_.push_back({ShellCall::Kind::WinExec, nullptr, {}, commandLine, showCommand});
  }
  const std::vector<ShellCall>& calls() const { return calls_; }
  void clear() { calls_.clear(); }

 private:
  std::vector<ShellCall> calls_;
};

}  // namespace morvin
