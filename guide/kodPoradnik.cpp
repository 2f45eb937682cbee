#include "kodPoradnik.h"

#include <QLineEdit>

#include "Articles.h"
#include "TipsText.h"
#include "shell/DataPaths.h"
#include "shell/Guard.h"
#include "shell/Language.h"
#include "shell/PrintService.h"
#include "shell/ShellService.h"
#include "shell/WindowFactories.h"
#include "shell/WindowSet.h"
#include "ui_kodPoradnik.h"

namespace morvin {

TfmSztuczki::TfmSztuczki(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfmSztuczki>()) {
  ui->setupUi(this);
  // A fixed dialog window.
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(size());

  ui->Arty->lineEdit()->setPlaceholderText(QString());
  ui->Arty->setCurrentIndex(-1);
  ui->Arty->setEditText(tr("Wybierz artykuł"));
  // Typed text opens nothing of its own: it chooses an article only when it
  // names one, so no other path is ever handed to the shell.
  connect(ui->Arty->lineEdit(), &QLineEdit::textEdited, this,
          [this](const QString& text) { followTypedArticle(text); });

  connect(ui->Button1, &QPushButton::clicked, this, [this] { unguarded([this] { Button1Click(); }); });
  connect(ui->Button2, &QPushButton::clicked, this, [this] { unguarded([this] { Button2Click(); }); });
  connect(ui->Button3, &QPushButton::clicked, this, [this] { unguarded([this] { Button3Click(); }); });

  // The tips and the articles are the language's own: read again.
  retranslateOnLanguageChange(this, [this] {
    ui->retranslateUi(this);
    ui->Arty->clear();
    unguarded([this] { FormCreate(); });
  });

  unguarded([this] { FormCreate(); });
}

TfmSztuczki::~TfmSztuczki() = default;

void TfmSztuczki::FormCreate() {
  guide::loadTipsFile(localizedDataFile(QStringLiteral("Poradnik\\sztuczki.txt")),
                      *ui->RichEdit1->document());
  ui->RichEdit1->document()->clearUndoRedoStacks();
  ui->RichEdit1->moveCursor(QTextCursor::Start);  // the reader starts at the top
  ui->Arty->addItems(guide::articleNames());
  ui->Arty->setCurrentIndex(-1);
  ui->Arty->setEditText(tr("Wybierz artykuł"));
}

void TfmSztuczki::Button1Click() {
  close();
}

void TfmSztuczki::Button2Click() {
  printService().print(this, *ui->RichEdit1->document(), ui->RichEdit1->toPlainText());
}

void TfmSztuczki::Button3Click() {
  // Shown normally: a page opened hidden is a page nobody can read.
  shellService().execute(this, QStringLiteral("open"), guide::articleFile(chosenArticle()), SW_SHOWNORMAL_);
}

QString TfmSztuczki::chosenArticle() const {
  const int index = ui->Arty->currentIndex();
  return index >= 0 ? ui->Arty->itemText(index) : QString();
}

void TfmSztuczki::followTypedArticle(const QString& text) {
  const int match = ui->Arty->findText(text, Qt::MatchFixedString);
  if (match == ui->Arty->currentIndex()) return;
  QLineEdit* edit = ui->Arty->lineEdit();
  const int cursor = edit->cursorPosition();
  ui->Arty->setCurrentIndex(match);  // this rewrites the edit: put the typed text back
  edit->setText(text);
  edit->setCursorPosition(cursor);
}

QWidget* createTfmSztuczki(QWidget* parent) {
  auto* window = new TfmSztuczki(parent);
  registerWindow(WindowId::Sztuczki, window);
  return window;
}

}  // namespace morvin
