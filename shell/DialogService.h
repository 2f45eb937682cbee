// Every question, notice, input box and file or colour dialog goes through
// here, so tests can script the answers and see what was shown.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QFileDialog;
class QWidget;

namespace morvin {

enum class MsgIcon { None, Information, Warning, Error, Question };
enum class Answer { Yes, No, Ok, Cancel, Closed };

class DialogService {
 public:
  virtual ~DialogService() = default;
  // The application error box: caption "Morvin - Next Generation", error icon, OK.
  virtual void errorBox(const QString& text) = 0;
  // A modal message dialog with Yes and No buttons. Closed: dismissed otherwise.
  virtual Answer question(QWidget* parent, const QString& caption, const QString& text, MsgIcon icon) = 0;
  // A message box with an OK button.
  virtual void notice(QWidget* parent, const QString& caption, const QString& text, MsgIcon icon) = 0;
  // A one-line input box; nullopt when cancelled.
  virtual std::optional<QString> inputBox(QWidget* parent, const QString& caption, const QString& prompt,
                                          const QString& initial) = 0;
  // A file-open dialog; `filters` are Qt name filters ("Programy (*.exe)").
  virtual std::optional<QString> openFile(QWidget* parent, const QString& title, const QStringList& filters,
                                          const QString& initialFile) = 0;
  // A folder chooser (only existing folders); nullopt when cancelled.
  virtual std::optional<QString> chooseFolder(QWidget* parent, const QString& title,
                                              const QString& initial) = 0;
  // A file-save dialog (asks before replacing a file); nullopt when cancelled.
  virtual std::optional<QString> saveFile(QWidget* parent, const QString& title, const QStringList& filters,
                                          const QString& initialFile) = 0;
  virtual std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) = 0;
};

// The file dialog matches a filter's patterns as Windows does: extensions in
// any letter case, and *.* is every file (also one without an extension).
QStringList windowsNamePatterns(const QString& filter);  // "Obrazy (*.bmp;*.ico)" -> patterns
void matchNamesAsWindows(QFileDialog& dialog);

DialogService& dialogs();
void setDialogService(std::shared_ptr<DialogService> service);

}  // namespace morvin
