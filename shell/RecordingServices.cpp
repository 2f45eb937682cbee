#include "RecordingServices.h"

namespace morvin {

namespace {
// The next scripted answer, or `fallback` when the script has run out.
template <class T>
T takeFront(std::deque<T>& script, T fallback) {
  if (script.empty()) return fallback;
  T front = script.front();
  script.pop_front();
  return front;
}

// The next scripted answer of a dialog that can be cancelled; cancel when none is left.
template <class S>
auto takeScripted(std::deque<S>& script) -> std::optional<decltype(S::value)> {
  if (script.empty() || script.front().cancel) {
    if (!script.empty()) script.pop_front();
    return std::nullopt;
  }
  auto value = script.front().value;
  script.pop_front();
  return value;
}

QString answerName(Answer a) {
  switch (a) {
    case Answer::Yes:
      return QStringLiteral("Yes");
    case Answer::No:
      return QStringLiteral("No");
    case Answer::Ok:
      return QStringLiteral("Ok");
    case Answer::Cancel:
      return QStringLiteral("Cancel");
    case Answer::Closed:
      return QStringLiteral("Closed");
  }
  return {};
}

const QString kCancel = QStringLiteral("Cancel");
}  // namespace

QStringList RecordingDialogService::texts(ShownDialog::Kind kind) const {
  QStringList result;
  for (const auto& d : shown_)
    if (d.kind == kind) result << d.text;
  return result;
}

int RecordingDialogService::count(ShownDialog::Kind kind) const {
  int n = 0;
  for (const auto& d : shown_) n += d.kind == kind;
  return n;
}

void RecordingDialogService::errorBox(const QString& text) {
  shown_.push_back({ShownDialog::Kind::ErrorBox,
                    QStringLiteral("Morvin - Next Generation"),
                    text,
                    MsgIcon::Error,
                    {},
                    QStringLiteral("Ok"),
                    nullptr});
}

Answer RecordingDialogService::question(QWidget* parent, const QString& caption, const QString& text,
                                        MsgIcon icon) {
  const Answer a = takeFront(questions_, Answer::No);
  shown_.push_back({ShownDialog::Kind::Question, caption, text, icon, {}, answerName(a), parent});
  return a;
}

void RecordingDialogService::notice(QWidget* parent, const QString& caption, const QString& text,
                                    MsgIcon icon) {
  shown_.push_back({ShownDialog::Kind::Notice, caption, text, icon, {}, QStringLiteral("Ok"), parent});
}

std::optional<QString> RecordingDialogService::inputBox(QWidget* parent, const QString& caption,
                                                        const QString& prompt, const QString& initial) {
  const std::optional<QString> a = takeScripted(inputs_);
  shown_.push_back(
      {ShownDialog::Kind::InputBox, caption, prompt, MsgIcon::None, initial, a.value_or(kCancel), parent});
  return a;
}

std::optional<QString> RecordingDialogService::openFile(QWidget* parent, const QString& title,
                                                        const QStringList& filters,
                                                        const QString& initialFile) {
  const std::optional<QString> a = takeScripted(files_);
  shown_.push_back({ShownDialog::Kind::OpenFile, title, filters.join(";;"), MsgIcon::None, initialFile,
                    a.value_or(kCancel), parent});
  return a;
}

std::optional<QString> RecordingDialogService::chooseFolder(QWidget* parent, const QString& title,
                                                            const QString& initial) {
  const std::optional<QString> a = takeScripted(folders_);
  shown_.push_back(
      {ShownDialog::Kind::ChooseFolder, title, {}, MsgIcon::None, initial, a.value_or(kCancel), parent});
  return a;
}

std::optional<QString> RecordingDialogService::saveFile(QWidget* parent, const QString& title,
                                                        const QStringList& filters,
                                                        const QString& initialFile) {
  const std::optional<QString> a = takeScripted(files_);
  shown_.push_back({ShownDialog::Kind::SaveFile, title, filters.join(";;"), MsgIcon::None, initialFile,
                    a.value_or(kCancel), parent});
  return a;
}

std::optional<QColor> RecordingDialogService::chooseColor(QWidget* parent, const QColor& initial) {
  const std::optional<QColor> a = takeScripted(colours_);
  shown_.push_back({ShownDialog::Kind::ChooseColor,
                    {},
                    {},
                    MsgIcon::None,
                    initial.name(),
                    a ? a->name() : kCancel,
                    parent});
  return a;
}

}  // namespace morvin
