#include "DialogService.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

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
    box.setEscapeButton(QMessageBox::No);
    const int result = box.exec();
    if (result == QMessageBox::Yes) return Answer::Yes;
    if (result == QMessageBox::No) return Answer::No;
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
    const QString file =
        QFileDialog::getOpenFileName(ownerOr(parent), title, initialFile, filters.join(";;"));
    if (file.isEmpty()) return std::nullopt;
    return file;
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
