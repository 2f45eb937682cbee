#include "kodNowaMaszyna.h"

#include "platform/Machine.h"
#include "platform/Machines.h"
#include "shell/DialogService.h"
#include "shell/Text.h"
#include "ui_kodNowaMaszyna.h"

namespace morvin {

namespace {

bool taken(const std::string& name) {
  return name == platform::kDefaultMachineName ||
         platform::Machine(platform::machinesFolder() + "/" + name).exists();
}

}  // namespace

TfmNowaMaszyna::TfmNowaMaszyna(const QString& source, platform::win9x::DriveChoices choices,
                               const QString& fallbackName, QWidget* parent)
    : QDialog(parent),
      ui(std::make_unique<Ui::TfmNowaMaszyna>()),
      choices_(std::move(choices)),
      fallbackName_(fallbackName) {
  Q_ASSERT(!choices_.volumes.empty() && choices_.preferred < choices_.volumes.size());
  ui->setupUi(this);
  ui->SourceText->setText(source);
  // One partition is no question.
  const bool several = choices_.volumes.size() > 1;
  if (several)
    for (const auto& volume : choices_.volumes) ui->PartitionCombo->addItem(partitionText(volume));
  ui->PartitionCombo->setCurrentIndex(static_cast<int>(choices_.preferred));
  ui->PartitionLabel->setVisible(several);
  ui->PartitionCombo->setVisible(several);
  connect(ui->PartitionCombo, &QComboBox::currentIndexChanged, this, [this] { showVolume(); });
  connect(ui->MachineNameEdit, &QLineEdit::textEdited, this, [this] { nameEdited_ = true; });
  connect(ui->CreateButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(ui->CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  showVolume();
}

TfmNowaMaszyna::~TfmNowaMaszyna() = default;

const platform::win9x::DriveVolume& TfmNowaMaszyna::volume() const {
  if (ui->PartitionCombo->count() == 0) return choices_.volumes[choices_.preferred];
  const int row = std::max(0, ui->PartitionCombo->currentIndex());
  return choices_.volumes[std::min(static_cast<std::size_t>(row), choices_.volumes.size() - 1)];
}

// The profiles and the proposed name follow the partition; a name the user typed stays.
void TfmNowaMaszyna::showVolume() {
  const auto& shown = volume();
  ui->ProfileCombo->clear();
  ui->ProfileCombo->addItem(tr("(domyślny)"), QString());
  for (const std::string& name : shown.profiles)
    ui->ProfileCombo->addItem(QString::fromStdString(name), QString::fromStdString(name));
  ui->ProfileLabel->setVisible(!shown.profiles.empty());
  ui->ProfileCombo->setVisible(!shown.profiles.empty());
  if (!nameEdited_) ui->MachineNameEdit->setText(proposedName(shown.computerName, fallbackName_));
}

int TfmNowaMaszyna::partition() const {
  return volume().partition.number;
}

std::string TfmNowaMaszyna::profile() const {
  return ui->ProfileCombo->currentData().toString().toStdString();
}

QString TfmNowaMaszyna::machineName() const {
  return ui->MachineNameEdit->text().trimmed();
}

std::shared_ptr<platform::win9x::Drive> TfmNowaMaszyna::openedDrive() const {
  return &volume() == &choices_.volumes[choices_.preferred] ? choices_.opened : nullptr;
}

QString TfmNowaMaszyna::proposedName(const std::optional<std::string>& computerName,
                                     const QString& fallback) {
  if (computerName) {
    const QString name = fromAnsi(*computerName).trimmed();
    if (platform::isMachineName(name.toStdString()) && !taken(name.toStdString())) return name;
  }
  const std::string base = fallback.trimmed().isEmpty() ? "Windows 98" : fallback.trimmed().toStdString();
  std::string name = base;
  for (int n = 2; taken(name) && n < 1000; ++n) name = base + " " + std::to_string(n);
  return QString::fromStdString(name);
}

QString TfmNowaMaszyna::partitionText(const platform::win9x::DriveVolume& volume) {
  const auto& p = volume.partition;
  QString text = tr("Partycja %1: %2 MB, FAT%3").arg(p.number).arg(p.bytes >> 20).arg(p.fatBits);
  if (!p.label.empty()) text += QStringLiteral(", ") + QString::fromStdString(p.label);
  if (!volume.windows) text += tr(" (bez Windows)");
  return text;
}

void TfmNowaMaszyna::accept() {
  const QString name = machineName();
  const std::string utf8 = name.toStdString();
  if (!platform::isMachineName(utf8) || utf8 == platform::kDefaultMachineName)
    dialogs().notice(this, windowTitle(), tr("„%1” nie może być nazwą maszyny").arg(name), MsgIcon::Warning);
  else if (taken(utf8))
    dialogs().notice(this, windowTitle(), tr("Maszyna %1 już jest").arg(name), MsgIcon::Warning);
  else
    QDialog::accept();
}

}  // namespace morvin
