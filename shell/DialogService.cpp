#include "DialogService.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

namespace morvin {

namespace {

QMessageBox::Icon toQt(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Information:
      return QMessageBox::Information;
    case MsgIcon::Warning:
      return QMessageBox::Warning;
    case MsgIcon::Error:
      return QMessageBox::Critical;
    case MsgIcon::Question:
      return QMessageBox::Question;
    case MsgIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QWidget* ownerOr(QWidget* parent) {
  return parent ? parent : QApplication::activeWindow();
}

}  // namespace

QStringList windowsNamePatterns(const QString& filter) {
  const qsizetype open = filter.lastIndexOf(u'(');
  const qsizetype close = filter.lastIndexOf(u')');
  const QString inside = open >= 0 && close > open ? filter.mid(open + 1, close - open - 1) : filter;
  QStringList patterns;
  for (const QString& pattern : inside.split(QRegularExpression(QStringLiteral("[ ;]+")), Qt::SkipEmptyParts))
    patterns << (pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
  return patterns;
}

void matchNamesAsWindows(QFileDialog& dialog) {
  auto* model = dialog.findChild<QFileSystemModel*>();
  if (!model) return;
  model->setFilter(model->filter() & ~QDir::CaseSensitive);
  const auto apply = [model](const QString& filter) { model->setNameFilters(windowsNamePatterns(filter)); };
  // After the dialog's own reaction to a chosen filter, which would match in the host's way.
  QObject::connect(&dialog, &QFileDialog::filterSelected, model, apply, Qt::QueuedConnection);
  apply(dialog.selectedNameFilter());
}

namespace {

// The real dialogs, modal, through Qt.
class QtDialogService final : public DialogService {
 public:
  void errorBox(const QString& text) override {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Morvin - Next Generation"), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
  }

  Answer question(QWidget* parent, const QString& caption, const QString& text, MsgIcon icon) override {
    QMessageBox box(toQt(icon), caption, text, QMessageBox::Yes | QMessageBox::No, ownerOr(parent));
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Yes"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&No"));
    // Esc and the close button are neither answer: they press a button that is never shown.
    QAbstractButton* closed = box.addButton(QMessageBox::Cancel);
    closed->hide();
    box.setEscapeButton(closed);
    box.exec();
    if (box.clickedButton() == box.button(QMessageBox::Yes)) return Answer::Yes;
    if (box.clickedButton() == box.button(QMessageBox::No)) return Answer::No;
    return Answer::Closed;
  }

  void notice(QWidget* parent, const QString& caption, const QString& text, MsgIcon icon) override {
    QMessageBox box(toQt(icon), caption, text, QMessageBox::Ok, ownerOr(parent));
    box.exec();
  }

  std::optional<QString> inputBox(QWidget* parent, const QString& caption, const QString& prompt,
                                  const QString& initial) override {
    bool ok = false;
    const QString text =
        QInputDialog::getText(ownerOr(parent), caption, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok) return std::nullopt;
    return text;
  }

  std::optional<QString> openFile(QWidget* parent, const QString& title, const QStringList& filters,
                                  const QString& initialFile) override {
    // The program's own dialog, so that names are matched as Windows matches them.
    QFileDialog dialog(ownerOr(parent), title, QString(), filters.join(";;"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!initialFile.isEmpty()) dialog.selectFile(initialFile);
    matchNamesAsWindows(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
  }

  std::optional<QString> chooseFolder(QWidget* parent, const QString& title,
                                      const QString& initial) override {
    const QString folder = QFileDialog::getExistingDirectory(ownerOr(parent), title, initial);
    if (folder.isEmpty()) return std::nullopt;
    return folder;
  }

  std::optional<QString> saveFile(QWidget* parent, const QString& title, const QStringList& filters,
                                  const QString& initialFile) override {
    const QString file =
        QFileDialog::getSaveFileName(ownerOr(parent), title, initialFile, filters.join(";;"));
    if (file.isEmpty()) return std::nullopt;
    return file;
  }

  std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) override {
    const QColor colour = QColorDialog::getColor(initial, ownerOr(parent));
    if (!colour.isValid()) return std::nullopt;
    return colour;
  }
};

std::shared_ptr<DialogService>& current() {
  static std::shared_ptr<DialogService> service = std::make_shared<QtDialogService>();
  return service;
}

}  // namespace

DialogService& dialogs() {
  return *current();
}

void setDialogService(std::shared_ptr<DialogService> service) {
  current() = service ? std::move(service) : std::make_shared<QtDialogService>();
}

}  // namespace morvin
