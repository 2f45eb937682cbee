#include "kodProgramy.h"

#include <QDir>
#include <QEvent>
#include <QFont>

#include "UninstallList.h"
#include "platform/DriveMapping.h"
#include "platform/Machine.h"
#include "registry/Errors.h"
#include "registry/TRegistry.h"
#include "shell/DialogService.h"
#include "shell/Guard.h"
#include "shell/Language.h"
#include "shell/StorablePath.h"
#include "shell/Text.h"
#include "shell/WindowFactories.h"
#include "shell/WindowSet.h"
#include "ui_kodProgramy.h"

namespace morvin {

using namespace programs;

namespace {

// A file chosen in the dialog, as the uninstall list holds paths: C:\... when
// it lies on the machine's drive, else the host path as it is.
QString uninstallerPathFor(const QString& hostFile) {
  if (auto windowsPath = platform::toWindowsPath(hostFile.toUtf8().toStdString()))
    return fromAnsi(*windowsPath);
  return QDir::toNativeSeparators(hostFile);
}

}  // namespace

TfmProgramy::TfmProgramy(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfmProgramy>()) {
  ui->setupUi(this);
  retranslateOnLanguageChange(this, [this] { ui->retranslateUi(this); });
  // A tool window with a small caption bar, not resizable.
  setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(size());

  QFont fieldFont(QStringLiteral("Verdana"));
  fieldFont.setPixelSize(13);
  ui->NazwaProgramu->setFont(fieldFont);
  ui->uninstaller->setFont(fieldFont);

  // Any change of the selected line, by mouse or keyboard, shows that entry.
  connect(ui->Lista, &QListWidget::itemSelectionChanged, this, [this] {
    if (selectedLine() >= 0) ListaClick();
  });
  // A click on the line already selected changes no selection: it reads the entry again.
  ui->Lista->viewport()->installEventFilter(this);
  connect(ui->Lista, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    if (ui->Lista->row(item) == selectedBeforePress_ && selectedLine() == selectedBeforePress_) ListaClick();
  });
  connect(ui->Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(ui->Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
  connect(ui->Button3, &QPushButton::clicked, this, [this] { Button3Click(); });

  unguarded([this] { FormCreate(); });
}

TfmProgramy::~TfmProgramy() = default;

bool TfmProgramy::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) selectedBeforePress_ = selectedLine();
  return QDialog::eventFilter(watched, event);
}

void TfmProgramy::FormCreate() {
  Listing listing = loadListing();
  QStringList lines;
  lines.reserve(static_cast<int>(listing.lines.size()));
  for (const auto& line : listing.lines) lines << fromAnsi(line);

  // The list and KluczeProgramow always change together; the selection is lost.
  KluczeProgramow_ = std::move(listing.keys);
  ui->Lista->clear();
  ui->Lista->addItems(lines);
  if (listing.failure) std::rethrow_exception(listing.failure);
}

void TfmProgramy::PokazProgram(const QString& line) {
  TRegistry reg;
  reg.SelectRoot(reg::kLocalMachine);
  for (int i = 0; i < ui->Lista->count(); ++i) {
    if (ui->Lista->item(i)->text() != line) continue;
    bool opened = reg.OpenPath(entryKey(KluczeProgramow_.at(i)), false);
    // Each field is set as soon as it is read, so a failing command read
    // leaves the name already shown.
    ui->NazwaProgramu->setText(
        opened ? fromAnsi(readPreferred(reg, kDisplayName, kQuietDisplayName).value_or("")) : QString());
    ui->uninstaller->setText(
        opened ? fromAnsi(readPreferred(reg, kUninstallString, kQuietUninstallString).value_or(""))
               : QString());
    reg.ClosePath();
  }
}

void TfmProgramy::ListaClick() {
  unguarded([this] {
    int line = selectedLine();
    if (line >= 0) PokazProgram(ui->Lista->item(line)->text());
  });
}

int TfmProgramy::selectedLine() const {
  const auto selected = ui->Lista->selectionModel()->selectedIndexes();
  return selected.isEmpty() ? -1 : selected.first().row();
}

const std::string& TfmProgramy::selectedKey() const {
  int line = selectedLine();
  if (line < 0 || line >= static_cast<int>(KluczeProgramow_.size()))
    throw Exception("List index out of bounds (" + std::to_string(line) + ")");
  return KluczeProgramow_[static_cast<std::size_t>(line)];
}

void TfmProgramy::save() {
  const std::string key = selectedKey();
  TRegistry reg;
  reg.SelectRoot(reg::kLocalMachine);
  // Saving never creates a value: only a name or command value already there is rewritten.
  if (reg.OpenPath(entryKey(key), false)) {
    if (auto name = preferredValueName(reg, kDisplayName, kQuietDisplayName))
      reg.WriteText(*name, toAnsi(ui->NazwaProgramu->text()));
    if (auto command = preferredValueName(reg, kUninstallString, kQuietUninstallString))
      reg.WriteText(*command, toAnsi(ui->uninstaller->text()));
  }
  reg.ClosePath();
  FormCreate();
}

void TfmProgramy::remove() {
  TRegistry reg;
  reg.SelectRoot(reg::kLocalMachine);
  bool opened = reg.OpenPath(kUninstallKey, false);
  const std::string key = selectedKey();
  // The bare subkey name is taken relative to the open uninstall key; without
  // that key it would be taken from the root, so nothing is deleted then.
  if (opened) reg.RemoveKeyTree(key);
  reg.ClosePath();
  FormCreate();
}

void TfmProgramy::showSelectEntryNotice() {
  dialogs().notice(this, tr("Zaznacz pozycję"), tr("Musisz zaznaczyć pozycję aby móc ją edytować!"),
                   MsgIcon::Information);
}

void TfmProgramy::Button1Click() {
  guarded([this] {
    try {
      save();
    } catch (...) {
      showSelectEntryNotice();
    }
  });
}

void TfmProgramy::Button2Click() {
  guarded([this] {
    try {
      remove();
    } catch (...) {
      showSelectEntryNotice();
    }
  });
}

void TfmProgramy::Button3Click() {
  guarded([this] {
    const QStringList filters{tr("Wszystkie pliki (*.*)"), tr("Programy (*.exe)")};
    QString startFolder = QString::fromStdString(platform::currentMachine().driveC());
    auto file = dialogs().openFile(this, tr("Poszukiwanie programu deinstalacyjnego"), filters, startFolder);
    // A path the registry cannot hold exactly leaves the field as it was.
    if (file && storablePath(this, *file)) ui->uninstaller->setText(uninstallerPathFor(*file));
  });
  // Confirmed or cancelled, the fields are saved.
  Button1Click();
}

QWidget* createTfmProgramy(QWidget* parent) {
  auto* window = new TfmProgramy(parent);
  registerWindow(WindowId::Programy, window);
  return window;
}

}  // namespace morvin
