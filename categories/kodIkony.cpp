#include "kodIkony.h"

#include <QAction>
#include <QCheckBox>
#include <QCursor>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QToolButton>
#include <array>

#include "RollDownMenu.h"
#include "pictures/Pictures.h"
#include "platform/SystemLanguage.h"
#include "registry/Cp1250.h"
#include "registry/Errors.h"
#include "registry/TRegistry.h"
#include "shell/Binding.h"
#include "shell/DataPaths.h"
#include "shell/DialogService.h"
#include "shell/Guard.h"
#include "shell/Language.h"
#include "shell/Text.h"
#include "shell/WindowFactories.h"
#include "shell/WindowSet.h"
#include "ui_kodIkony.h"

namespace morvin {

namespace {

constexpr const char* kAdvanced = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
constexpr const char* kPolicies = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr const char* kNameSpace =
    "Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Desktop\\NameSpace";
constexpr const char* kRecycleBinId = "{645FF040-5081-101B-9F08-00AA002F954E}";
constexpr const char* kRecycleBinClass = "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}";
// My Documents is written in small letters in the desktop's list.
constexpr const char* kMyDocumentsId = "{450d8fba-ad25-11d0-98a8-0800361b1103}";
// What the program writes into the system is in the system's own language:
// a Polish and an English text of each (UTF-8).
struct SystemText {
  const char* polish;
  const char* english;
};
constexpr SystemText kMyDocumentsName{"Moje dokumenty", "My Documents"};

struct DesktopObject {
  const char* button;         // picture button: asks for a description
  const char* defaultButton;  // "Domyślnie"
  const char* classKey;       // below HKEY_CLASSES_ROOT
  SystemText defaultTip;      // as a fresh system has it
  const char* picture;        // data file
};

const std::array<DesktopObject, 5> kObjects{{
    {"SpeedButton1",
     "SpeedButton6",
     "CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}",
     {"Wyświetla zawartość tego komputera.", "Displays the contents of your computer."},
     "Data\\Gfx\\Bmp\\Ikony\\MojKomputer.png"},
    {"SpeedButton2",
     "SpeedButton7",
     "CLSID\\{450D8FBA-AD25-11D0-98A8-0800361B1103}",
     {"Przechowuje dokumenty, grafikę i inne pliki.", "Stores documents, graphics, and other files."},
     "Data\\Gfx\\Bmp\\Ikony\\MojeDokumenty.png"},
    {"SpeedButton3",
     "SpeedButton8",
     "CLSID\\{871C5380-42A0-1069-A2EA-08002B30309D}",
     {"Znajduje i wyświetla informacje sieci Web w Internecie.",
      "Finds and displays information and Web sites on the Internet."},
     "Data\\Gfx\\Bmp\\Ikony\\Internet.png"},
    {"SpeedButton4",
     "SpeedButton9",
     "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}",
     {"Zawiera usunięte elementy, które możesz ostatecznie usunąć lub przywrócić.",
      "Contains the files and folders that you have deleted."},
     "Data\\Gfx\\Bmp\\Ikony\\Kosz.png"},
    {"SpeedButton5",
     "SpeedButton10",
     "CLSID\\{208D2C60-3AEA-1069-A2D7-08002B30309D}",
     {"Wyświetla wszystkie komputery znajdujące się w Twojej sieci.", "Displays computers on your network."},
     "Data\\Gfx\\Bmp\\Ikony\\OtoczenieSieciowe.png"},
}};

constexpr const char* kRecycleBinPicture = "Data\\Gfx\\Bmp\\Ikony\\KoszSystemowy.png";

struct Suggestion {
  const char* name;    // designer name
  SystemText caption;  // also the text it writes
};

const std::array<Suggestion, 15> kSuggestions{{
    {"Kosz1", {"Kosz", "Recycle Bin"}},
    {"mietnik1", {"Śmietnik", "Trash Can"}},
    {"Wysypisko1", {"Wysypisko", "Dump"}},
    {"Odpadki1", {"Odpadki", "Scraps"}},
    {"Kube1", {"Kubeł", "Bucket"}},
    {"Zomowisko1", {"Złomowisko", "Scrapyard"}},
    {"mietnisko1", {"Śmietnisko", "Garbage Dump"}},
    {"Nieczystoci1", {"Nieczystości", "Refuse"}},
    {"Popielniczka1", {"Popielniczka", "Ashtray"}},
    {"Odrzuty1", {"Odrzuty", "Rejects"}},
    {"ubianka1", {"Łubianka", "Punnet"}},
    {"Kobiaka1", {"Kobiałka", "Basket"}},
    {"Koszyk1", {"Koszyk", "Wastebasket"}},
    {"Pojemnik1", {"Pojemnik", "Container"}},
    {"Zbiornik1", {"Zbiornik", "Tank"}},
}};

std::string ansi(const char* utf8) {
  return cp1250::fromUtf8(utf8);
}

// The text in the language of the machine's own system, read at each use.
const char* inSystemLanguage(const SystemText& text) {
  return platform::currentSystemLanguage() == platform::SystemLanguage::English ? text.english : text.polish;
}
std::string nameSpaceEntry(const char* id) {
  return std::string(kNameSpace) + "\\" + id;
}

// A desktop entry counts as present only with a non-empty name. The box is set
// with its click action held back: the load must never delete the entry.
void loadNameSpaceBox(TRegistry& reg, QWidget* window, const char* box, const char* id) {
  bool named = false;
  reg.ClosePath();  // every path below is taken from the root
  reg.SelectRoot(reg::kLocalMachine);
  if (reg.OpenPath(nameSpaceEntry(id), false)) {
    try {
      named = !reg.ReadText("").empty();
    } catch (const ERegistryException&) {
      named = false;  // a default value that is not text
    }
  }
  auto* check = window->findChild<QCheckBox*>(box);
  const QSignalBlocker holdClick(check);
  check->setChecked(!named);
}

// Takes the desktop entry away; nothing happens when the desktop's list is missing.
void removeNameSpaceEntry(TRegistry& reg, const char* id) {
  reg.ClosePath();
  reg.SelectRoot(reg::kLocalMachine);
  if (reg.OpenPath(kNameSpace, false)) reg.RemoveKeyTree(id);
}

void writeNameSpaceEntry(TRegistry& reg, const char* id, const std::string& name) {
  reg.ClosePath();
  reg.SelectRoot(reg::kLocalMachine);
  reg.OpenPath(nameSpaceEntry(id), true);
  reg.WriteText("", name);
  reg.ClosePath();
}

void writeRecycleBinName(const std::string& name) {
  TRegistry reg;
  reg.SelectRoot(reg::kClassesRoot);
  reg.OpenPath(kRecycleBinClass, false);
  reg.WriteText("", name);
  reg.ClosePath();
}

void writeDescription(const DesktopObject& object, const std::string& text) {
  TRegistry reg;
  reg.SelectRoot(reg::kClassesRoot);
  reg.OpenPath(object.classKey, false);  // never creates the object's key
  reg.WriteText("InfoTip", text);
  reg.ClosePath();
}

void showTooltips(QWidget* window, bool on) {
  static_cast<TfmIkony*>(window)->setTooltipsShown(on);
}

std::vector<binding::Row> bindings() {
  using binding::Load;
  using binding::Write;
  std::vector<binding::Row> rows;
  // The rows run in the window's load order.
  rows.push_back({.control = "CheckBox1",
                  .root = reg::kCurrentUser,
                  .key = kAdvanced,
                  .value = "ShowInfoTip",
                  .load = Load::Custom,
                  .guarded = true,
                  // The load switches the tooltips to what is stored, also when it is 0.
                  .after = [](QWidget* w, const QVariant& on) { showTooltips(w, on.toBool()); },
                  .customLoad =
                      [](TRegistry& reg, QWidget* w) {
                        const bool on = reg.ReadFlag("ShowInfoTip");
                        binding::Engine::setState(w->findChild<QCheckBox*>("CheckBox1"), on);
                        showTooltips(w, on);
                      }});
  rows.push_back(
      {.control = "CheckBox4",
       .root = reg::kLocalMachine,
       .key = kNameSpace,
       .value = kRecycleBinId,
       .load = Load::Custom,
       .write = Write::Custom,
       .guarded = true,
       .customLoad = [](TRegistry& reg, QWidget* w) { loadNameSpaceBox(reg, w, "CheckBox4", kRecycleBinId); },
       .customWrite =
           [](TRegistry& reg, QWidget*, const QVariant& checked) {
             if (checked.toBool()) return removeNameSpaceEntry(reg, kRecycleBinId);
             // The entry comes back under the Recycle Bin's current name.
             reg.ClosePath();
             reg.SelectRoot(reg::kClassesRoot);
             reg.OpenPath(kRecycleBinClass, false);
             const std::string name = reg.ReadText("");
             reg.ClosePath();
             writeNameSpaceEntry(reg, kRecycleBinId, name);
           }});
  rows.push_back({.control = "CheckBox5",
                  .root = reg::kLocalMachine,
                  .key = kNameSpace,
                  .value = kMyDocumentsId,
                  .load = Load::Custom,
                  .write = Write::Custom,
                  .guarded = false,
                  .customLoad = [](TRegistry& reg,
                                   QWidget* w) { loadNameSpaceBox(reg, w, "CheckBox5", kMyDocumentsId); },
                  .customWrite =
                      [](TRegistry& reg, QWidget*, const QVariant& checked) {
                        if (checked.toBool()) return removeNameSpaceEntry(reg, kMyDocumentsId);
                        writeNameSpaceEntry(reg, kMyDocumentsId, ansi(inSystemLanguage(kMyDocumentsName)));
                      }});
  rows.push_back({.control = "CheckBox6",
                  .root = reg::kCurrentUser,
                  .key = kAdvanced,
                  .value = "HideIcons",
                  .guarded = true});
  rows.push_back({.control = "CheckBox2",
                  .root = reg::kCurrentUser,
                  .key = kPolicies,
                  .value = "NoDesktop",
                  .guarded = false});
  rows.push_back({.control = "Edit1",
                  .root = reg::kClassesRoot,
                  .key = kRecycleBinClass,
                  .value = "",
                  .load = Load::TextIntoControl,
                  .write = Write::None,
                  .guarded = true});
  rows.push_back({.control = "CheckBox3",
                  .root = reg::kClassesRoot,
                  .key = "lnkfile",
                  .value = "IsShortcut",
                  .load = Load::ValuePresence,
                  .write = Write::ValuePresence,
                  .guarded = true});
  return rows;
}

}  // namespace

TfmIkony::TfmIkony(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfmIkony>()) {
  ui->setupUi(this);
  setWindowFlag(Qt::Tool);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  loadPictures();
  buildSuggestions();
  connectHandlers();
  retranslateOnLanguageChange(this, [this] {
    ui->retranslateUi(this);
    PopupMenu1->setAccessibleName(tr("Propozycje nazw kosza"));
    loadPictures();
  });
  engine_ = new binding::Engine(this, bindings());
  engine_->connectWrites();
  unguarded([this] { FormCreate(); });
}

TfmIkony::~TfmIkony() = default;

void TfmIkony::FormCreate() {
  engine_->load();
}

void TfmIkony::loadPictures() {
  for (std::size_t i = 0; i < kObjects.size(); ++i) {
    auto* button = findChild<QToolButton*>(kObjects[i].button);
    const QPixmap picture =
        LoadPictureOrNothing(localizedPictureFile(QString::fromLatin1(kObjects[i].picture)));
    if (!picture.isNull()) {
      button->setIcon(QIcon(picture));
      button->setIconSize(picture.size());
    }
  }
  const QPixmap bin = LoadPictureOrNothing(dataFile(QString::fromLatin1(kRecycleBinPicture)));
  if (!bin.isNull()) ui->Image1->setPixmap(bin);
}

void TfmIkony::buildSuggestions() {
  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName("PopupMenu1");
  // Its entries are names the Polish system is given as they stand, in any language.
  PopupMenu1->setProperty("morvinNames", true);
  PopupMenu1->setAccessibleName(tr("Propozycje nazw kosza"));
  for (const Suggestion& s : kSuggestions) {
    QAction* item = PopupMenu1->addAction(QString());
    item->setObjectName(QString::fromLatin1(s.name));
  }
  nameSuggestions();
  connect(PopupMenu1, &QMenu::triggered, this, &TfmIkony::SuggestionClick);
}

// The names are the system's: they follow the machine's language, which may
// change with the machine between two showings.
void TfmIkony::nameSuggestions() {
  const QList<QAction*> items = PopupMenu1->actions();
  for (std::size_t i = 0; i < kSuggestions.size() && i < std::size_t(items.size()); ++i)
    items[int(i)]->setText(QString::fromUtf8(inSystemLanguage(kSuggestions[i].caption)));
}

void TfmIkony::connectHandlers() {
  for (std::size_t i = 0; i < kObjects.size(); ++i) {
    const int object = int(i);
    auto* button = findChild<QToolButton*>(kObjects[i].button);
    button->setMouseTracking(true);  // mouse moves without a pressed button
    connect(button, &QToolButton::clicked, this, [this, object] { SpeedButtonClick(object); });
    auto* restore = findChild<QToolButton*>(kObjects[i].defaultButton);
    connect(restore, &QToolButton::clicked, this, [this, object] { DefaultButtonClick(object); });
  }
  connect(ui->Button1, &QPushButton::clicked, this, &TfmIkony::Button1Click);
  // Tooltips of every control pass through the window's switch; the filter
  // also sees the picture buttons' mouse moves and the clicks on Panel1.
  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

bool TfmIkony::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::ToolTip:
      if (!tooltips_) return true;
      break;
    case QEvent::MouseMove:
      for (std::size_t i = 0; i < kObjects.size(); ++i)
        if (watched->objectName() == QLatin1String(kObjects[i].button)) SpeedButtonMouseMove(int(i));
      break;
    case QEvent::MouseButtonRelease:
      if (watched == ui->Panel1) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (ui->Panel1->rect().contains(mouse->position().toPoint()))
          Panel1Click(mouse->globalPosition().toPoint());
        return true;
      }
      break;
    case QEvent::KeyPress:
      if (watched == ui->Panel1) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
          Panel1Click(ui->Panel1->mapToGlobal(ui->Panel1->rect().bottomLeft()));
          return true;
        }
      }
      break;
    default:
      break;
  }
  return QDialog::eventFilter(watched, event);
}

void TfmIkony::SpeedButtonMouseMove(int object) {
  // Read at every move, so the tooltip always shows what is stored now.
  guarded([&] {
    TRegistry reg;
    reg.SelectRoot(reg::kClassesRoot);
    reg.OpenPath(kObjects[object].classKey, false);
    const std::string tip = reg.ReadText("InfoTip");
    findChild<QToolButton*>(kObjects[object].button)->setToolTip(fromAnsi(tip));
  });
}

void TfmIkony::SpeedButtonClick(int object) {
  guarded([&] {
    const std::optional<QString> answer =
        dialogs().inputBox(this, tr("Wprowadź tekst"), tr("Wprowadź nowy tekst opisu pomocy"), QString());
    if (!answer || answer->isEmpty()) return;
    writeDescription(kObjects[object], toAnsi(*answer));
  });
}

void TfmIkony::DefaultButtonClick(int object) {
  guarded([&] { writeDescription(kObjects[object], ansi(inSystemLanguage(kObjects[object].defaultTip))); });
}

void TfmIkony::Button1Click() {
  guarded([&] { writeRecycleBinName(toAnsi(ui->Edit1->text())); });
}

void TfmIkony::Panel1Click(const QPoint& screenPosition) {
  guarded([this] { nameSuggestions(); });
  popupRollingDown(PopupMenu1, screenPosition);
}

void TfmIkony::SuggestionClick(QAction* item) {
  ui->Edit1->setText(item->text());
  Button1Click();
}

QWidget* createTfmIkony(QWidget* parent) {
  auto* window = new TfmIkony(parent);
  registerWindow(WindowId::Ikony, window);
  return window;
}

}  // namespace morvin
