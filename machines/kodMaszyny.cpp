#include "kodMaszyny.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QSettings>
#include <QThread>
#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>

#include "history/JournalModel.h"
#include "history/SourceNames.h"
#include "kodNowaMaszyna.h"
#include "platform/Machine.h"
#include "platform/Win9xApply.h"
#include "platform/Win9xChoices.h"
#include "platform/Win9xImport.h"
#include "platform/Win9xRefresh.h"
#include "platform/Win9xVirtualDisk.h"
#include "registry/Cp1250.h"
#include "registry/Errors.h"
#include "registry/HiveStore.h"
#include "registry/JournalHistory.h"
#include "registry/ProfileStore.h"
#include "shell/DialogService.h"
#include "shell/Guard.h"
#include "shell/Language.h"
#include "shell/Text.h"
#include "shell/WindowSet.h"
#include "ui_kodMaszyny.h"

namespace morvin {

namespace {

namespace fs = std::filesystem;
namespace journal = reg::journal;

// Held by the drive work for as long as it runs, whatever machine is opened meanwhile.
std::shared_ptr<reg::RegistryStore> journaledStore() {
  auto store = reg::currentStoreShared();
  if (!store->journal()) throw Exception(toAnsi(TfmMaszyny::tr("Ten rejestr nie prowadzi historii zmian")));
  return store;
}

QString when(const std::optional<std::time_t>& time) {
  if (!time) return QStringLiteral("-");
  return QDateTime::fromSecsSinceEpoch(*time).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString sourceText(const platform::MachineInfo& m) {
  if (!m.fromDrive) return TfmMaszyny::tr("własna maszyna programu");
  const QString source = QString::fromStdString(m.source);
  if (m.format.empty()) return source;
  QString format = QString::fromStdString(m.format);
  if (m.partition) format += TfmMaszyny::tr(", partycja %1").arg(m.partition);
  return source + QStringLiteral(" (") + format + ')';
}

// As the history window words an item and its states.
QString changeLine(const journal::NetChange& c) {
  const journal::Entry& e = c.first;
  return fromAnsi(journal::describeItem(e)) + QStringLiteral(": ") + JournalModel::stateText(e, e.before) +
         QString::fromUtf8(" → ") + JournalModel::stateText(e, c.now);
}

// A failure of the drive work as the user is told it: a disk in use names
// the program holding it; anything else goes on as it is.
[[noreturn]] void throwForUser(const std::exception_ptr& failure, const platform::MachineInfo& machine) {
  try {
    std::rethrow_exception(failure);
  } catch (const platform::win9x::DiskInUse& e) {
    throw Exception(
        toAnsi(TfmMaszyny::tr("Wyłącz maszynę wirtualną: dysk %1 jest używany przez program %2")
                   .arg(QString::fromStdString(machine.source), QString::fromStdString(e.holder().program))));
  }
}

// The values a failure says were changed on both sides, each with both
// states, one a line; nullopt for any other failure.
std::optional<QString> changedOnBothSides(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const platform::win9x::DriveError& e) {
    if (e.fault() != platform::win9x::Fault::Changed) return std::nullopt;
    QStringList values;
    for (const QString& line : fromAnsi(e.message()).split('\n'))
      if (line.startsWith(QStringLiteral("  "))) values.append(line.trimmed());
    return values.isEmpty() ? fromAnsi(e.message()) : values.join('\n');
  } catch (...) {
    return std::nullopt;
  }
}

}  // namespace

TfmMaszyny::TfmMaszyny(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfmMaszyny>()) {
  ui->setupUi(this);
  for (const auto& [column, width] : {std::pair{0, 150}, {1, 300}, {2, 115}, {3, 140}})
    ui->MachinesList->header()->resizeSection(column, width);
  ui->MachinesList->setTextElideMode(Qt::ElideMiddle);  // a long path keeps its file name
  ui->MachinesList->header()->setAccessibleName(tr("Nagłówki kolumn listy maszyn"));
  ui->ReadingProgress->setRange(0, 0);  // how long a drive takes is not known ahead
  connect(ui->MachinesList, &QTreeWidget::currentItemChanged, this, [this] { updateButtons(); });
  // A drive comes as a disk image or as a folder (a copied or mounted drive).
  auto* newFrom = new QMenu(ui->NewFromDriveButton);
  QAction* fromImage =
      newFrom->addAction(QString(), this, [this] { unguarded([this] { NewFromImageClick(); }); });
  QAction* fromFolder =
      newFrom->addAction(QString(), this, [this] { unguarded([this] { NewFromFolderClick(); }); });
  fromImage->setObjectName(QStringLiteral("NewFromImageAction"));
  fromFolder->setObjectName(QStringLiteral("NewFromFolderAction"));
  ui->NewFromDriveButton->setMenu(newFrom);
  connect(ui->CancelReadingButton, &QPushButton::clicked, this,
          [this] { unguarded([this] { CancelReadingClick(); }); });
  connect(ui->UseButton, &QPushButton::clicked, this, [this] { unguarded([this] { UseClick(); }); });
  connect(ui->HandBackButton, &QPushButton::clicked, this,
          [this] { unguarded([this] { HandBackClick(); }); });
  connect(ui->RefreshButton, &QPushButton::clicked, this, [this] { unguarded([this] { RefreshClick(); }); });
  connect(ui->RemoveButton, &QPushButton::clicked, this, [this] { unguarded([this] { RemoveClick(); }); });
  connect(ui->CloseButton, &QPushButton::clicked, this, &QDialog::accept);
  const auto nameActions = [fromImage, fromFolder] {
    fromImage->setText(tr("Obraz dysku..."));
    fromFolder->setText(tr("Folder z dyskiem C:..."));
  };
  nameActions();
  retranslateOnLanguageChange(this, [this, nameActions] {
    ui->retranslateUi(this);
    nameActions();
    Odswiez();
  });
  unguarded([this] { Odswiez(); });
}

TfmMaszyny::~TfmMaszyny() {
  // A drive still being read is waited for: its machine is made or not, never half.
  if (reader_) reader_->wait();
  // So is a hand-back or refresh: it ends whole; the questions after it are not asked.
  if (worker_) {
    worker_->wait();
    delete worker_;
  }
}

void TfmMaszyny::Odswiez() {
  const std::string inUse = platform::currentMachine().folder();
  machines_ = platform::listMachines(inUse);
  const int row = ui->MachinesList->currentIndex().row();
  ui->MachinesList->clear();
  for (const platform::MachineInfo& m : machines_) {
    QString name = QString::fromStdString(m.name);
    if (m.name == platform::kDefaultMachineName) name = tr("Domyślna");
    if (m.inUse) name += tr(" (w użyciu)");
    // Only a machine made from a drive has anywhere to hand changes back to.
    const QString waiting = !m.fromDrive    ? QStringLiteral("-")
                            : m.waiting < 0 ? QStringLiteral("?")
                                            : QString::number(m.waiting);
    auto* item = new QTreeWidgetItem({name, sourceText(m), when(m.read), waiting, when(m.handedBack)});
    item->setToolTip(1, sourceText(m));
    if (m.inUse) {
      QFont bold = item->font(0);
      bold.setBold(true);
      item->setFont(0, bold);
    }
    ui->MachinesList->addTopLevelItem(item);
  }
  if (!machines_.empty())
    ui->MachinesList->setCurrentItem(
        ui->MachinesList->topLevelItem(std::clamp(row, 0, static_cast<int>(machines_.size()) - 1)));
  updateButtons();
}

const platform::MachineInfo* TfmMaszyny::chosen() const {
  const int row = ui->MachinesList->currentIndex().row();
  return row >= 0 && row < static_cast<int>(machines_.size()) ? &machines_[static_cast<std::size_t>(row)]
                                                              : nullptr;
}

void TfmMaszyny::updateButtons() {
  const platform::MachineInfo* m = chosen();
  // One drive operation at a time; nothing switches or removes the machine under one.
  const bool idle = !reader_ && !worker_;
  ui->UseButton->setEnabled(idle && m && !m->inUse);
  ui->HandBackButton->setEnabled(idle && m && m->inUse && m->fromDrive);
  ui->RefreshButton->setEnabled(idle && m && m->inUse && m->fromDrive);
  ui->RemoveButton->setEnabled(idle && m && m->fromDrive && !m->inUse);
  ui->NewFromDriveButton->setEnabled(idle);
}

void TfmMaszyny::NewFromImageClick() {
  const auto file = dialogs().openFile(
      this, tr("Dysk Windows 98"),
      {tr("Obrazy dysków (*.vdi *.vmdk *.qcow2 *.vhd *.img *.raw)"), tr("Wszystkie pliki (*.*)")}, QString());
  if (file) readChoices(*file, QFileInfo(*file).completeBaseName());
}

void TfmMaszyny::NewFromFolderClick() {
  const auto folder = dialogs().chooseFolder(this, tr("Folder z dyskiem Windows 98"), QString());
  if (folder) readChoices(*folder, QDir(*folder).dirName());
}

void TfmMaszyny::readChoices(const QString& source, const QString& fallbackName) {
  auto choices = std::make_shared<platform::win9x::DriveChoices>();
  const std::string path = QFile::encodeName(source).toStdString();
  startReading([path, choices] { *choices = platform::win9x::surveyDrive(path); },
               [this, source, fallbackName, choices](const QString& failure) {
                 stopReading();
                 if (cancelled_ || !failure.isEmpty()) {
                   emit readingFinished();
                   if (!cancelled_)
                     dialogs().notice(this, windowTitle(),
                                      tr("Nie można odczytać dysku %1:\n%2").arg(source, failure),
                                      MsgIcon::Error);
                   return;
                 }
                 askAndMake(source, fallbackName, std::move(*choices));
               });
}

void TfmMaszyny::askAndMake(const QString& source, const QString& fallbackName,
                            platform::win9x::DriveChoices choices) {
  TfmNowaMaszyna choice(source, std::move(choices), fallbackName, this);
  showModalWindow(&choice);
  if (choice.result() != QDialog::Accepted) {
    emit readingFinished();
    return;
  }
  platform::win9x::ImportOptions options;
  options.source = QFile::encodeName(source).toStdString();
  options.partition = choice.partition();
  options.user = choice.profile();
  options.opened = choice.openedDrive();
  makeMachine(choice.machineName(), options);
}

void TfmMaszyny::makeMachine(const QString& name, const platform::win9x::ImportOptions& options) {
  const std::string folder = platform::machinesFolder() + "/" + name.toStdString();
  startReading(
      [folder, options] {
        std::error_code ec;
        fs::create_directories(platform::machinesFolder(), ec);
        platform::win9x::importMachine(folder, options);
      },
      [this, name](const QString& failure) { finishReading(name, failure); });
}

// The window stays responsive while a drive is read, and can cancel.
void TfmMaszyny::startReading(std::function<void()> job,
                              std::function<void(const QString& failure)> finished) {
  auto failure = std::make_shared<QString>();
  reader_ = QThread::create([job = std::move(job), failure] {
    try {
      job();
    } catch (const std::exception& e) {
      *failure = fromAnsi(e.what());
    }
  });
  cancelled_ = false;
  connect(reader_, &QThread::finished, this,
          [finished = std::move(finished), failure] { finished(*failure); });
  ui->ReadingProgress->setVisible(true);
  ui->CancelReadingButton->setVisible(true);
  ui->CancelReadingButton->setEnabled(true);
  updateButtons();
  reader_->start();
}

void TfmMaszyny::stopReading() {
  reader_->deleteLater();
  reader_ = nullptr;
  ui->ReadingProgress->setVisible(false);
  ui->CancelReadingButton->setVisible(false);
  updateButtons();
}

void TfmMaszyny::CancelReadingClick() {
  cancelled_ = true;
  ui->CancelReadingButton->setEnabled(false);
}

void TfmMaszyny::finishReading(const QString& name, const QString& failure) {
  stopReading();
  if (cancelled_ && failure.isEmpty()) {
    // The import cannot stop halfway; what it made goes, so nothing is left.
    std::error_code ec;
    fs::remove_all(platform::machinesFolder() + "/" + name.toStdString(), ec);
  }
  Odswiez();
  emit readingFinished();
  if (!failure.isEmpty() && !cancelled_)
    dialogs().notice(this, windowTitle(), tr("Nie powstała maszyna %1:\n%2").arg(name, failure),
                     MsgIcon::Error);
}

void TfmMaszyny::UseClick() {
  const platform::MachineInfo* m = chosen();
  if (!m || m->inUse) return;
  const platform::MachineInfo machine = *m;
  platform::openMachine(machine.folder);
  rememberMachine(machine.name == platform::kDefaultMachineName ? QString()
                                                                : QString::fromStdString(machine.name));
  reloadWindows();  // every window shows this machine; nothing is written
  Odswiez();
}

QStringList TfmMaszyny::handBackPreview(const std::string& machineFolder, const std::string& target,
                                        platform::win9x::KeptDrive* kept) {
  const auto shared = journaledStore();
  reg::RegistryStore& store = *shared;
  const auto changes = journal::netChanges(store, reg::currentProfileStore());
  // Grouped by the window (or program) that made them, as the history names them.
  std::map<std::string, QStringList> bySource;
  for (const journal::NetChange& c : changes) bySource[c.first.source].append(changeLine(c));
  QStringList lines;
  for (const auto& [source, group] : bySource) {
    lines.append((source.empty() ? tr("Inne zmiany") : sourceTitle(source)) + ':');
    for (const QString& line : group) lines.append(QStringLiteral("  ") + line);
  }
  platform::win9x::ApplyResult planned;
  try {
    planned =
        platform::win9x::applyToDrive(machineFolder, {.target = target, .dryRun = true, .kept = kept}, store);
  } catch (const platform::win9x::DriveError& e) {
    if (e.fault() != platform::win9x::Fault::Changed) throw;
    // Only the hand-back itself can read the drive's changes in; it asks about each conflict.
    lines.append(
        tr("Windows 98 zmienił od ostatniego odczytu rejestr lub pliki na dysku: przekazanie "
           "najpierw odczyta rejestr z dysku i zapyta o to, co zmieniono po obu stronach."));
    return lines;
  }
  if (!planned.written.empty()) lines.append(tr("Pliki zapisane na dysku:"));
  for (const std::string& file : planned.written)
    lines.append(QStringLiteral("  ") + QString::fromStdString(file));
  for (const std::string& warning : planned.warnings)
    lines.append(QStringLiteral("  ") + QString::fromStdString(warning));
  return lines;
}

void TfmMaszyny::HandBackClick() {
  const platform::MachineInfo* m = chosen();
  if (worker_ || !m || !m->inUse || !m->fromDrive) return;
  const platform::MachineInfo machine = *m;
  // The preview's drive serves the hand-back too: a virtual disk is converted once.
  kept_ = std::make_unique<platform::win9x::KeptDrive>();
  auto preview = std::make_shared<QStringList>();
  inBackground([machine, preview,
                kept = kept_.get()] { *preview = handBackPreview(machine.folder, machine.source, kept); },
               [this, machine, preview](const std::exception_ptr& failure) {
                 if (failure) throwForUser(failure, machine);
                 confirmHandBack(machine, *preview);
               });
}

void TfmMaszyny::confirmHandBack(const platform::MachineInfo& machine, const QStringList& preview) {
  if (preview.isEmpty()) {
    dialogs().notice(this, windowTitle(), tr("Nie ma nic do przekazania."), MsgIcon::Information);
    return;
  }
  const QString text = tr("Na dysk %1 zostanie przekazane:\n\n%2\n\nPrzekazać?")
                           .arg(QString::fromStdString(machine.source), preview.join('\n'));
  if (dialogs().question(this, windowTitle(), text, MsgIcon::Question) != Answer::Yes) return;
  onDrive(
      machine,
      [machine, store = journaledStore(), kept = kept_.get()](bool force) {
        platform::win9x::applyToDrive(machine.folder,
                                      {.target = machine.source, .force = force, .kept = kept}, *store);
      },
      [this] {
        Odswiez();
        dialogs().notice(
            this, windowTitle(),
            tr("Zmiany są na dysku. Przy następnym uruchomieniu Windows 98 wpisze je do rejestru z pliku "
               "C:\\MORVINNG.REG (plik MORVINNG.BAT w folderze Autostart), po czym usunie oba pliki."),
            MsgIcon::Information);
      });
}

void TfmMaszyny::RefreshClick() {
  const platform::MachineInfo* m = chosen();
  if (worker_ || !m || !m->inUse || !m->fromDrive) return;
  const platform::MachineInfo machine = *m;
  kept_ = std::make_unique<platform::win9x::KeptDrive>();
  auto outcome = std::make_shared<platform::win9x::RefreshOutcome>();
  onDrive(
      machine,
      [machine, outcome, store = journaledStore(), kept = kept_.get()](bool force) {
        *outcome = platform::win9x::refreshMachine(
            machine.folder, {.target = machine.source, .force = force, .kept = kept}, *store);
      },
      [this, outcome] {
        if (outcome->read)
          reloadWindows();  // the values Windows changed, shown without writing anything back
        Odswiez();
        dialogs().notice(this, windowTitle(),
                         outcome->read
                             ? tr("Odczytano rejestr z dysku: %1 wartości wzięto z Windows 98, %2 zmian "
                                  "tej maszyny zostaje do przekazania.")
                                   .arg(outcome->fromDrive)
                                   .arg(outcome->kept)
                             : tr("Rejestr na dysku jest taki, jak przy ostatnim odczycie."),
                         MsgIcon::Information);
      });
}

// The registry store locks each call (HiveStore's mutex), but a hand-back or
// refresh is many calls that must not interleave with a window's writes: while
// the worker runs, this modal window keeps the other windows out, its own
// buttons that reach the store are off, and nothing here touches the store
// until the worker has finished. What the worker writes is the refresh's,
// named before it starts, so the journal never asks the windows for a source
// from the worker thread.
void TfmMaszyny::inBackground(std::function<void()> job, std::function<void(std::exception_ptr)> then) {
  auto failure = std::make_shared<std::exception_ptr>();
  worker_ = QThread::create([job = std::move(job), failure] {
    const journal::Source source(journal::kRefreshSource);
    try {
      job();
    } catch (...) {
      *failure = std::current_exception();
    }
  });
  connect(worker_, &QThread::finished, this, [this, failure, then = std::move(then)] {
    worker_->deleteLater();
    worker_ = nullptr;
    ui->ReadingProgress->setVisible(false);
    updateButtons();
    unguarded([&] { then(*failure); });
    if (worker_) return;  // the next step runs
    kept_.reset();        // its scratch copy goes with it
    emit driveWorkFinished();
  });
  ui->ReadingProgress->setVisible(true);
  updateButtons();
  worker_->start();
}

void TfmMaszyny::onDrive(const platform::MachineInfo& machine, std::function<void(bool force)> work,
                         std::function<void()> done, bool force) {
  inBackground(
      [work, force] { work(force); },
      [this, machine, work, done, force](const std::exception_ptr& failure) {
        if (!failure) return done();
        const auto changed = changedOnBothSides(failure);
        if (!changed || force) throwForUser(failure, machine);
        const QString question =
            tr("Od ostatniego przekazania te wartości zmieniono i w Windows 98, i w tej maszynie:\n\n%1\n\n"
               "Zachować stan tej maszyny?")
                .arg(*changed);
        if (dialogs().question(this, windowTitle(), question, MsgIcon::Question) != Answer::Yes) return;
        onDrive(machine, work, done, true);
      });
}

void TfmMaszyny::RemoveClick() {
  const platform::MachineInfo* m = chosen();
  if (!m || !m->fromDrive || m->inUse) return;
  const platform::MachineInfo machine = *m;
  const QString text = tr("Usunąć maszynę %1? Dysk %2 zostanie taki, jaki jest.")
                           .arg(QString::fromStdString(machine.name), QString::fromStdString(machine.source));
  if (dialogs().question(this, windowTitle(), text, MsgIcon::Question) != Answer::Yes) return;
  platform::removeMachine(machine.name);
  Odswiez();
}

void showMachinesWindow(QWidget* parent) {
  TfmMaszyny window(parent);
  showModalWindow(&window);
}

QString rememberedMachine() {
  return QSettings(QStringLiteral("morvin-ng"), QStringLiteral("morvin-ng"))
      .value(QStringLiteral("machine"))
      .toString();
}

void rememberMachine(const QString& name) {
  QSettings(QStringLiteral("morvin-ng"), QStringLiteral("morvin-ng"))
      .setValue(QStringLiteral("machine"), name);
}

}  // namespace morvin
