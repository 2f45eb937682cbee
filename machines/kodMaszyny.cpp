#include "kodMaszyny.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QScopeGuard>
#include <QSettings>
#include <QThread>
#include <algorithm>
#include <filesystem>
#include <map>

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

reg::RegistryStore& journaledStore() {
  reg::RegistryStore& store = reg::currentStore();
  if (!store.journal()) throw Exception(toAnsi(TfmMaszyny::tr("Ten rejestr nie prowadzi historii zmian")));
  return store;
}

QString when(const std::optional<std::time_t>& time) {
  if (!time) return QStringLiteral("-");
  return QDateTime::fromSecsSinceEpoch(*time).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString sourceText(const platform::MachineInfo& m) {
  if (!m.fromDrive) return TfmMaszyny::tr("własna maszyna programu");
  const QString source = QString::fromStdString(m.source);
  return m.format.empty() ? source : source + QStringLiteral(" (") + QString::fromStdString(m.format) + ')';
}

// As the history window words an item and its states.
QString changeLine(const journal::NetChange& c) {
  const journal::Entry& e = c.first;
  return fromAnsi(journal::describeItem(e)) + QStringLiteral(": ") + JournalModel::stateText(e, e.before) +
         QString::fromUtf8(" → ") + JournalModel::stateText(e, c.now);
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
  connect(ui->NewFromDriveButton, &QPushButton::clicked, this,
          [this] { unguarded([this] { NewFromDriveClick(); }); });
  connect(ui->NewFromFolderButton, &QPushButton::clicked, this,
          [this] { unguarded([this] { NewFromFolderClick(); }); });
  connect(ui->CancelReadingButton, &QPushButton::clicked, this,
          [this] { unguarded([this] { CancelReadingClick(); }); });
  connect(ui->UseButton, &QPushButton::clicked, this, [this] { unguarded([this] { UseClick(); }); });
  connect(ui->HandBackButton, &QPushButton::clicked, this,
          [this] { unguarded([this] { HandBackClick(); }); });
  connect(ui->RefreshButton, &QPushButton::clicked, this, [this] { unguarded([this] { RefreshClick(); }); });
  connect(ui->RemoveButton, &QPushButton::clicked, this, [this] { unguarded([this] { RemoveClick(); }); });
  connect(ui->CloseButton, &QPushButton::clicked, this, &QDialog::accept);
  retranslateOnLanguageChange(this, [this] {
    ui->retranslateUi(this);
    Odswiez();
  });
  unguarded([this] { Odswiez(); });
}

TfmMaszyny::~TfmMaszyny() {
  // A drive still being read is waited for: its machine is made or not, never half.
  if (reader_) reader_->wait();
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
  ui->UseButton->setEnabled(m && !m->inUse);
  ui->HandBackButton->setEnabled(m && m->inUse && m->fromDrive);
  ui->RefreshButton->setEnabled(m && m->inUse && m->fromDrive);
  ui->RemoveButton->setEnabled(m && m->fromDrive && !m->inUse);
  ui->NewFromDriveButton->setEnabled(!reader_);
  ui->NewFromFolderButton->setEnabled(!reader_);
}

void TfmMaszyny::NewFromDriveClick() {
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
  struct Survey {
    platform::win9x::DriveChoices choices;
    QString failure;
  };
  auto survey = std::make_shared<Survey>();
  const std::string path = QFile::encodeName(source).toStdString();
  startReading(QThread::create([path, survey] {
                 try {
                   survey->choices = platform::win9x::surveyDrive(path);
                 } catch (const std::exception& e) {
                   survey->failure = fromAnsi(e.what());
                 }
               }),
               [this, source, fallbackName, survey] {
                 stopReading();
                 if (cancelled_ || !survey->failure.isEmpty()) {
                   emit readingFinished();
                   if (!cancelled_)
                     dialogs().notice(this, windowTitle(),
                                      tr("Nie można odczytać dysku %1:\n%2").arg(source, survey->failure),
                                      MsgIcon::Error);
                   return;
                 }
                 askAndMake(source, fallbackName, std::move(survey->choices));
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
  auto failure = std::make_shared<QString>();
  startReading(QThread::create([folder, options, failure] {
                 try {
                   std::error_code ec;
                   fs::create_directories(platform::machinesFolder(), ec);
                   platform::win9x::importMachine(folder, options);
                 } catch (const std::exception& e) {
                   *failure = fromAnsi(e.what());
                 }
               }),
               [this, name, failure] { finishReading(name, *failure); });
}

// The window stays responsive while a drive is read, and can cancel.
void TfmMaszyny::startReading(QThread* reader, std::function<void()> finished) {
  reader_ = reader;
  cancelled_ = false;
  connect(reader_, &QThread::finished, this, std::move(finished));
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

QStringList TfmMaszyny::handBackPreview(const std::string& machineFolder, const std::string& target) {
  reg::RegistryStore& store = journaledStore();
  const auto changes = journal::netChanges(store, reg::currentProfileStore());
  // Grouped by the window (or program) that made them, as the history names them.
  std::map<std::string, QStringList> bySource;
  for (const journal::NetChange& c : changes) bySource[c.first.source].append(changeLine(c));
  QStringList lines;
  for (const auto& [source, group] : bySource) {
    lines.append((source.empty() ? tr("Inne zmiany") : sourceTitle(source)) + ':');
    for (const QString& line : group) lines.append(QStringLiteral("  ") + line);
  }
  const auto planned =
      platform::win9x::applyToDrive(machineFolder, {.target = target, .dryRun = true}, store);
  if (!planned.written.empty()) lines.append(tr("Pliki zapisane na dysku:"));
  for (const std::string& file : planned.written)
    lines.append(QStringLiteral("  ") + QString::fromStdString(file));
  for (const std::string& warning : planned.warnings)
    lines.append(QStringLiteral("  ") + QString::fromStdString(warning));
  return lines;
}

void TfmMaszyny::HandBackClick() {
  const platform::MachineInfo* m = chosen();
  if (!m || !m->inUse || !m->fromDrive) return;
  const platform::MachineInfo machine = *m;
  const QStringList preview = handBackPreview(machine.folder, machine.source);
  if (preview.isEmpty()) {
    dialogs().notice(this, windowTitle(), tr("Nie ma nic do przekazania."), MsgIcon::Information);
    return;
  }
  const QString text = tr("Na dysk %1 zostanie przekazane:\n\n%2\n\nPrzekazać?")
                           .arg(QString::fromStdString(machine.source), preview.join('\n'));
  if (dialogs().question(this, windowTitle(), text, MsgIcon::Question) != Answer::Yes) return;
  onDrive(machine, [&](bool force) {
    platform::win9x::applyToDrive(machine.folder, {.target = machine.source, .force = force},
                                  journaledStore());
  });
  Odswiez();
  dialogs().notice(
      this, windowTitle(),
      tr("Zmiany są na dysku. Przy następnym uruchomieniu Windows 98 wpisze je do rejestru z pliku "
         "C:\\MORVINNG.REG (plik MORVINNG.BAT w folderze Autostart), po czym usunie oba pliki."),
      MsgIcon::Information);
}

void TfmMaszyny::RefreshClick() {
  const platform::MachineInfo* m = chosen();
  if (!m || !m->inUse || !m->fromDrive) return;
  const platform::MachineInfo machine = *m;
  platform::win9x::RefreshOutcome outcome;
  onDrive(machine, [&](bool force) {
    outcome = platform::win9x::refreshMachine(machine.folder, {.target = machine.source, .force = force},
                                              journaledStore());
  });
  if (outcome.read) reloadWindows();  // the values Windows changed, shown without writing anything back
  Odswiez();
  dialogs().notice(this, windowTitle(),
                   outcome.read ? tr("Odczytano rejestr z dysku: %1 wartości wzięto z Windows 98, %2 zmian "
                                     "tej maszyny zostaje do przekazania.")
                                      .arg(outcome.fromDrive)
                                      .arg(outcome.kept)
                                : tr("Rejestr na dysku jest taki, jak przy ostatnim odczycie."),
                   MsgIcon::Information);
}

void TfmMaszyny::onDrive(const platform::MachineInfo& machine, const std::function<void(bool force)>& work) {
  ui->ReadingProgress->setVisible(true);
  const auto hideProgress = qScopeGuard([this] { ui->ReadingProgress->setVisible(false); });
  try {
    work(false);
  } catch (const platform::win9x::DiskInUse& e) {
    throw Exception(
        toAnsi(tr("Wyłącz maszynę wirtualną: dysk %1 jest używany przez program %2")
                   .arg(QString::fromStdString(machine.source), QString::fromStdString(e.holder().program))));
  } catch (const platform::win9x::DriveError& e) {
    if (e.fault() != platform::win9x::Fault::Changed) throw;
    // The values changed on both sides, each with both states, one a line.
    QStringList values;
    for (const QString& line : fromAnsi(e.message()).split('\n'))
      if (line.startsWith(QStringLiteral("  "))) values.append(line.trimmed());
    const QString question =
        tr("Od ostatniego przekazania te wartości zmieniono i w Windows 98, i w tej maszynie:\n\n%1\n\n"
           "Zachować stan tej maszyny?")
            .arg(values.isEmpty() ? fromAnsi(e.message()) : values.join('\n'));
    if (dialogs().question(this, windowTitle(), question, MsgIcon::Question) != Answer::Yes) return;
    work(true);
  }
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
