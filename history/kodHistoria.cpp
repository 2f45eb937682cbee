#include "kodHistoria.h"

#include <QDateTime>
#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <algorithm>

#include "SourceNames.h"
#include "UndoFailureText.h"
#include "registry/Cp1250.h"
#include "registry/Errors.h"
#include "registry/HostProfileStoreFile.h"
#include "registry/JournalHistory.h"
#include "registry/ProfileStore.h"
#include "shell/DialogService.h"
#include "shell/Guard.h"
#include "shell/Language.h"
#include "shell/Text.h"
#include "shell/WindowSet.h"
#include "ui_kodHistoria.h"

namespace morvin {

namespace {

namespace journal = reg::journal;

// The store with its journal; a store that keeps none (the Windows registry)
// says so, and the window too.
reg::RegistryStore& journaledStore() {
  reg::RegistryStore& store = reg::currentStore();
  if (!store.journal()) throw Exception(toAnsi(TfmHistoria::tr("Ten rejestr nie prowadzi historii zmian")));
  return store;
}

}  // namespace

TfmHistoria::TfmHistoria(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfmHistoria>()) {
  ui->setupUi(this);
  model_ = new JournalModel(this);
  ui->Lista->setModel(model_);
  connect(ui->Filtr, &QComboBox::currentIndexChanged, this, [this] { guarded([this] { FiltrChange(); }); });
  connect(ui->Button1, &QPushButton::clicked, this, [this] { unguarded([this] { Button1Click(); }); });
  connect(ui->Button2, &QPushButton::clicked, this, [this] { unguarded([this] { Button2Click(); }); });
  connect(ui->Button3, &QPushButton::clicked, this, [this] { unguarded([this] { Button3Click(); }); });
  connect(ui->ForgetOlderButton, &QPushButton::clicked, this,
          [this] { unguarded([this] { ForgetOlderClick(); }); });
  connect(ui->Button4, &QPushButton::clicked, this, &QDialog::accept);
  nameHeader();
  retranslateOnLanguageChange(this, [this] {
    ui->retranslateUi(this);
    nameHeader();
    fillSources();  // the sources are window titles in the new language too
    fillList();
  });
  unguarded([this] { Odswiez(); });
  // The window can be resized; its columns start as wide as the first page
  // needs. Only that page is measured: laying the list out fetches a second
  // one, and measuring every cell's text is most of the window's opening.
  ui->Lista->header()->setResizeContentsPrecision(JournalModel::kPage);
  ui->Lista->header()->resizeSections(QHeaderView::ResizeToContents);
}

TfmHistoria::~TfmHistoria() = default;

void TfmHistoria::nameHeader() {
  ui->Lista->header()->setAccessibleName(tr("Nagłówki kolumn listy zmian"));
}

void TfmHistoria::Odswiez() {
  journaledStore();  // a registry without a journal says so
  fillSources();
  fillList();
}

void TfmHistoria::fillSources() {
  // Each item shows its window's title and keeps the stored id the query uses.
  const QVariant chosen = ui->Filtr->currentIndex() > 0 ? ui->Filtr->currentData() : QVariant();
  QSignalBlocker hold(ui->Filtr);
  ui->Filtr->clear();
  ui->Filtr->addItem(tr("wszystkie"));
  reg::journal::Keeper* keeper = reg::currentJournal();
  for (const std::string& source : keeper ? keeper->sources() : std::vector<std::string>{})
    ui->Filtr->addItem(sourceTitle(source), QByteArray::fromStdString(source));
  const int index = chosen.isValid() ? ui->Filtr->findData(chosen) : 0;
  ui->Filtr->setCurrentIndex(index < 0 ? 0 : index);
}

void TfmHistoria::FiltrChange() {
  fillList();
}

void TfmHistoria::fillList() {
  const int index = ui->Filtr->currentIndex();
  model_->reload(index > 0 ? ui->Filtr->itemData(index).toByteArray().toStdString() : std::string());
}

std::vector<std::int64_t> TfmHistoria::selectedIds() const {
  std::vector<std::int64_t> ids;
  for (const QModelIndex& row : ui->Lista->selectionModel()->selectedRows())
    ids.push_back(model_->entry(row.row()).id);
  return ids;
}

void TfmHistoria::Button1Click() {
  const std::vector<std::int64_t> ids = selectedIds();
  if (ids.empty()) return;
  journal::Source source(cp1250::fromUtf8("Historia zmian"));
  auto ask = [this](const journal::Entry& e, const journal::State& now) {
    const QString text =
        tr("%1 zmieniono od tej pory: jest teraz %2, a nie %3.\n\nCzy mimo to przywrócić %4?")
            .arg(fromAnsi(journal::describeItem(e)), JournalModel::stateText(e, now),
                 JournalModel::stateText(e, e.after), JournalModel::stateText(e, e.before));
    return dialogs().question(this, windowTitle(), text, MsgIcon::Warning) == Answer::Yes;
  };
  const auto result = journal::undo(journaledStore(), reg::currentProfileStore(), ids, ask);
  afterUndo(result.failures);
}

// The chosen entry (or, with none chosen, the present) becomes the starting
// point: the changes stay, the older entries go.
void TfmHistoria::ForgetOlderClick() {
  const QModelIndexList rows = ui->Lista->selectionModel()->selectedRows();
  const QString text =
      rows.empty()
          ? tr("Zapomnieć całą historię zmian? Zmiany zostaną w rejestrze, ale nie będzie można ich "
               "już cofnąć.")
          : tr("Zapomnieć zmiany starsze niż zaznaczona? Zostaną w rejestrze, ale nie będzie można ich "
               "już cofnąć.");
  if (dialogs().question(this, windowTitle(), text, MsgIcon::Question) != Answer::Yes) return;
  journal::ForgetPoint point;
  if (!rows.empty()) {  // the oldest chosen: the lowest line
    const auto oldest =
        std::max_element(rows.begin(), rows.end(),
                         [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    point.entryId = model_->entry(oldest->row()).id;
  }
  journal::forget(journaledStore(), point);
  Odswiez();
}

void TfmHistoria::Button2Click() {
  if (model_->rowCount() == 0) return;
  const QString text =
      tr("Czy cofnąć wszystkie zmiany? Rejestr i plik MsDos.sys wrócą do stanu, w jakim była maszyna na "
         "początku.");
  if (dialogs().question(this, windowTitle(), text, MsgIcon::Question) != Answer::Yes) return;
  journal::Source source(cp1250::fromUtf8("Historia zmian"));
  const auto result = journal::undoAll(journaledStore(), reg::currentProfileStore());
  afterUndo(result.failures);
}

void TfmHistoria::afterUndo(const std::vector<reg::journal::UndoFailure>& failures) {
  reloadWindows();
  Odswiez();
  if (failures.empty()) return;
  QString text = tr("Nie wszystkie zmiany udało się cofnąć:");
  for (const reg::journal::UndoFailure& failure : failures)
    text += QStringLiteral("\n") + undoFailureText(failure);
  dialogs().notice(this, windowTitle(), text, MsgIcon::Error);
}

void TfmHistoria::Button3Click() {
  const auto file = dialogs().saveFile(this, tr("Zapisz zmiany jako plik .reg"),
                                       {tr("Pliki rejestru (*.reg)")}, tr("zmiany.reg"));
  if (!file) return;
  const std::string text =
      journal::changesFile(journal::netChanges(journaledStore(), reg::currentProfileStore()));
  const std::string path = QFile::encodeName(*file).toStdString();
  if (reg::hostfile::isReadOnly(path) || !reg::hostfile::writeAtomically(path, text))
    throw Exception(toAnsi(tr("Nie można zapisać pliku %1").arg(*file)));
}

void showHistoryWindow(QWidget* parent) {
  TfmHistoria window(parent);
  showModalWindow(&window);
}

}  // namespace morvin
