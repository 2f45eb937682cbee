#include "categories/kodFoldery.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QTableWidgetItem>

#include "registry/TRegistry.h"
#include "shell/Guard.h"
#include "shell/Language.h"
#include "shell/Text.h"
#include "shell/WindowFactories.h"
#include "shell/WindowSet.h"
#include "ui_kodFoldery.h"

namespace morvin {

namespace {

constexpr const char* kAdvanced = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
constexpr const char* kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::vector<binding::Row> folderyBindings() {
  using binding::Row;
  return {
      // Hidden is three-state: 1 shows all files, 2 (Windows' own default) and 0 do not.
      Row{.control = "CheckBox1",
          .root = reg::kCurrentUser,
          .key = kAdvanced,
          .value = "Hidden",
          .load = binding::Load::FlagIsOne},
      Row{.control = "CheckBox2", .root = reg::kCurrentUser, .key = kAdvanced, .value = "HideFileExt"},
  };
}

}  // namespace

// The names are the folders' Polish names; the English program shows the
// names an English Windows 98 gives them.
const std::array<ShellFolder, kShellFolderCount> kShellFolders = {{
    {"AppData", QT_TRANSLATE_NOOP("TfmFoldery", "Dane aplikacji")},
    {"Cache", QT_TRANSLATE_NOOP("TfmFoldery", "Temporary Internet Files")},
    {"Cookies", QT_TRANSLATE_NOOP("TfmFoldery", "Cookies")},
    {"Desktop", QT_TRANSLATE_NOOP("TfmFoldery", "Pulpit")},
    {"Favorites", QT_TRANSLATE_NOOP("TfmFoldery", "Ulubione")},
    {"Fonts", QT_TRANSLATE_NOOP("TfmFoldery", "Czcionki")},
    {"History", QT_TRANSLATE_NOOP("TfmFoldery", "Historia")},
    {"Personal", QT_TRANSLATE_NOOP("TfmFoldery", "Moje dokumenty")},
    {"PrintHood", QT_TRANSLATE_NOOP("TfmFoldery", "Print Hood")},
    {"Programs", QT_TRANSLATE_NOOP("TfmFoldery", "Programy")},
    {"Recent", QT_TRANSLATE_NOOP("TfmFoldery", "Ostatnio otwierane")},
    {"SendTo", QT_TRANSLATE_NOOP("TfmFoldery", "Wyślij do")},
    {"Start Menu", QT_TRANSLATE_NOOP("TfmFoldery", "Menu Start")},
    {"Startup", QT_TRANSLATE_NOOP("TfmFoldery", "Autostart")},
    {"Templates", QT_TRANSLATE_NOOP("TfmFoldery", "Wzorce dokumentów")},
}};

void readShellFolders(TRecord& record) {
  TRegistry reg;
  reg.SelectRoot(reg::kCurrentUser);
  // A missing key leaves no key open: every read then gives an empty text.
  reg.OpenPath(kShellFoldersKey, false);
  for (std::size_t i = 0; i < kShellFolderCount; ++i) record[i] = reg.ReadText(kShellFolders[i].value);
  reg.ClosePath();
}

TfmFoldery::TfmFoldery(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TfmFoldery>()) {
  setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  ui_->setupUi(this);
  retranslateOnLanguageChange(this, [this] {
    ui_->retranslateUi(this);
    showNames();
  });
  setFixedSize(size());
  ui_->lista->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  ui_->lista->horizontalHeader()->resizeSection(1, 266);
  engine_ = std::make_unique<binding::Engine>(this, folderyBindings());
  engine_->connectWrites();
  unguarded([this] { FormCreate(); });
}

TfmFoldery::~TfmFoldery() = default;

void TfmFoldery::FormCreate() {
  TRecord record;
  guarded([&] { readShellFolders(record); });
  engine_->load();
  fillList(record);
}

// Each row goes above the rows added before it, so the list ends with
// Templates at the top and AppData at the bottom.
void TfmFoldery::fillList(const TRecord& record) {
  QTableWidget* list = ui_->lista;
  for (std::size_t i = 0; i < kShellFolderCount; ++i) {
    list->insertRow(0);
    list->setItem(0, 0, new QTableWidgetItem);
    list->setItem(0, 1, new QTableWidgetItem(fromAnsi(record[i])));
  }
  showNames();
}

void TfmFoldery::showNames() {
  QTableWidget* list = ui_->lista;
  const int rows = list->rowCount();
  Q_ASSERT(rows == 0 || rows == int(kShellFolderCount));
  for (int row = 0; row < rows; ++row)
    if (QTableWidgetItem* item = list->item(row, 0))
      item->setText(QCoreApplication::translate("TfmFoldery", kShellFolders[rows - 1 - row].name));
}

QWidget* createTfmFoldery(QWidget* parent) {
  auto* window = new TfmFoldery(parent);
  registerWindow(WindowId::Foldery, window);
  return window;
}

}  // namespace morvin
