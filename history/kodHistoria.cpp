#include "kodHistoria.h"

#include <QDateTime>
#include <QFile>
#include <QHeaderView>
#include <set>

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

QString keyText(const journal::Entry& e) {
  return fromAnsi(journal::describeItemParts(e).key);
}

QString valueText(const journal::Entry& e) {
  return fromAnsi(journal::describeItemParts(e).value);
}

// The words for what has no bytes to show follow the program's language.
QString stateText(const journal::Entry& e, const journal::State& state) {
  const journal::StateWords words{.absent = toAnsi(TfmHistoria::tr("(brak)")),
                                  .empty = toAnsi(TfmHistoria::tr("(puste)")),
                                  .key = toAnsi(TfmHistoria::tr("(klucz)")),
                                  .keyWithContent = toAnsi(TfmHistoria::tr("(klucz z zawartością)"))};
  return fromAnsi(journal::describeState(e, state, words));
}

QString changeText(const journal::Entry& e) {
  QString text = stateText(e, e.before) + QString::fromUtf8(" → ") + stateText(e, e.after);
  if (e.pending) text += TfmHistoria::tr(" (zapis przerwany)");
  return text;
}

}  // namespace

TfmHistoria::TfmHistoria(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfmHistoria>()) {
  ui->setupUi(this);
  // Room for the whole time, the longest captions and the end of a key path.
  for (const auto& [column, width] : {std::pair{0, 126}, {1, 112}, {2, 220}, {3, 100}})
    ui->Lista->header()->resizeSection(column, width);
  connect(ui->Filtr, &QComboBox::currentIndexChanged, this, [this] { guarded([this] { FiltrChange(); }); });
  connect(ui->Button1, &QPushButton::clicked, this, [this] { unguarded([this] { Button1Click(); }); });
  connect(ui->Button2, &QPushButton::clicked, this, [this] { unguarded([this] { Button2Click(); }); });
  connect(ui->Button3, &QPushButton::clicked, this, [this] { unguarded([this] { Button3Click(); }); });
  connect(ui->Button4, &QPushButton::clicked, this, &QDialog::accept);
  nameHeader();
  retranslateOnLanguageChange(this, [this] {
    ui->retranslateUi(this);
    nameHeader();
    ui->Filtr->setItemText(0, tr("wszystkie"));
    fillList();
  });
  unguarded([this] { Odswiez(); });
}

TfmHistoria::~TfmHistoria() = default;

void TfmHistoria::nameHeader() {
  ui->Lista->header()->setAccessibleName(tr("Nagłówki kolumn listy zmian"));
}

void TfmHistoria::Odswiez() {
  entries_ = journal::history(journaledStore(), reg::currentProfileStore());
  fillSources();
  fillList();
}

void TfmHistoria::fillSources() {
  const QString chosen = ui->Filtr->currentIndex() > 0 ? ui->Filtr->currentText() : QString();
  QSignalBlocker hold(ui->Filtr);
  ui->Filtr->clear();
  ui->Filtr->addItem(tr("wszystkie"));
  std::set<QString> sources;
  for (const journal::Entry& e : entries_) sources.insert(fromAnsi(e.source));
  for (const QString& source : sources) ui->Filtr->addItem(source);
  const int index = chosen.isEmpty() ? 0 : ui->Filtr->findText(chosen);
  ui->Filtr->setCurrentIndex(index < 0 ? 0 : index);
}

void TfmHistoria::FiltrChange() {
  fillList();
}

void TfmHistoria::fillList() {
  const QString source = ui->Filtr->currentIndex() > 0 ? ui->Filtr->currentText() : QString();
  ui->Lista->clear();
  shown_.clear();
  QList<QTreeWidgetItem*> items;
  for (const journal::Entry& e : entries_) {
    if (!source.isEmpty() && fromAnsi(e.source) != source) continue;
    const QString when =
        QDateTime::fromMSecsSinceEpoch(e.at / 1000).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    auto* item = new QTreeWidgetItem({when, fromAnsi(e.source), keyText(e), valueText(e), changeText(e)});
    item->setToolTip(2, keyText(e));
    item->setToolTip(4, changeText(e));
    items.append(item);
    shown_.push_back(e);
  }
  ui->Lista->addTopLevelItems(items);
}

void TfmHistoria::Button1Click() {
  std::vector<std::int64_t> ids;
  for (QTreeWidgetItem* item : ui->Lista->selectedItems())
    ids.push_back(shown_.at(static_cast<std::size_t>(ui->Lista->indexOfTopLevelItem(item))).id);
  if (ids.empty()) return;
  journal::Source source(cp1250::fromUtf8("Historia zmian"));
  auto ask = [this](const journal::Entry& e, const journal::State& now) {
    const QString text =
        tr("%1 zmieniono od tej pory: jest teraz %2, a nie %3.\n\nCzy mimo to przywrócić %4?")
            .arg(fromAnsi(journal::describeItem(e)), stateText(e, now), stateText(e, e.after),
                 stateText(e, e.before));
    return dialogs().question(this, windowTitle(), text, MsgIcon::Warning) == Answer::Yes;
  };
  const auto result = journal::undo(journaledStore(), reg::currentProfileStore(), ids, ask);
  afterUndo(result.failures);
}

void TfmHistoria::Button2Click() {
  if (entries_.empty()) return;
  const QString text =
      tr("Czy cofnąć wszystkie zmiany? Rejestr i plik MsDos.sys wrócą do stanu, w jakim była maszyna na "
         "początku.");
  if (dialogs().question(this, windowTitle(), text, MsgIcon::Question) != Answer::Yes) return;
  journal::Source source(cp1250::fromUtf8("Historia zmian"));
  const auto result = journal::undoAll(journaledStore(), reg::currentProfileStore());
  afterUndo(result.failures);
}

void TfmHistoria::afterUndo(const std::vector<std::string>& failures) {
  reloadWindows();
  Odswiez();
  if (failures.empty()) return;
  QString text = tr("Nie wszystkie zmiany udało się cofnąć:");
  for (const std::string& failure : failures) text += QStringLiteral("\n") + fromAnsi(failure);
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
