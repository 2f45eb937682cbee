#include "kodWeb.h"

#include "pictures/Pictures.h"
#include "shell/DataPaths.h"
#include "shell/Guard.h"
#include "shell/Language.h"
#include "shell/WindowFactories.h"
#include "shell/WindowSet.h"
#include "ui_kodWeb.h"

namespace morvin {

namespace {

constexpr const char* kNetworkKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network";
constexpr const char* kExplorerKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

binding::Row flagRow(const char* control, reg::Key root, const char* key, const char* value, bool create,
                     bool guarded) {
  binding::Row row{control, root, key, value};
  row.create = create;
  row.guarded = guarded;
  return row;
}

}  // namespace

std::vector<binding::Row> TfmWeb::Bindings() {
  constexpr reg::Key HKLM = reg::kLocalMachine;
  constexpr reg::Key HKCU = reg::kCurrentUser;
  constexpr bool create = true, noCreate = false, guarded = true, unguarded = false;
  binding::Row master = flagRow("CheckBox6", HKCU, kNetworkKey, "NoNetSetup", create, unguarded);
  master.disables = {"CheckBox7", "CheckBox8", "CheckBox9", "CheckBox10"};
  return {
      flagRow("CheckBox1", HKLM, kNetworkKey, "HideSharePwds", noCreate, unguarded),
      flagRow("CheckBox2", HKLM, kNetworkKey, "DisablePwdCaching", noCreate, unguarded),
      flagRow("CheckBox3", HKLM, kNetworkKey, "AlphanumPwds", noCreate, unguarded),
      flagRow("CheckBox4", HKLM, kNetworkKey, "NoDialIn", noCreate, unguarded),
      flagRow("CheckBox5", HKLM, kNetworkKey, "NoPrintSharing", noCreate, unguarded),
      master,
      flagRow("CheckBox7", HKCU, kNetworkKey, "NoNetSetupIDPage", create, guarded),
      flagRow("CheckBox8", HKCU, kNetworkKey, "NoNetSetupSecurityPage", create, guarded),
      flagRow("CheckBox9", HKCU, kNetworkKey, "NoFileSharingControl", create, guarded),
      flagRow("CheckBox10", HKCU, kNetworkKey, "NoPrintSharingControl", create, guarded),
      flagRow("CheckBox11", HKCU, kNetworkKey, "NoEntireNetwork", create, guarded),
      flagRow("CheckBox12", HKCU, kNetworkKey, "NoWorkgroupContents", create, guarded),
      flagRow("CheckBox13", HKCU, kExplorerKey, "NoNetHood", noCreate, guarded),
  };
}

TfmWeb::TfmWeb(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfmWeb>()) {
  ui->setupUi(this);
  retranslateOnLanguageChange(this, [this] { ui->retranslateUi(this); });
  setObjectName(QStringLiteral("fmWeb"));
  setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  ui->Image1->setPixmap(LoadPictureOrNothing(dataFile(QStringLiteral("Data\\Gfx\\Bmp\\Siec.bmp"))));
  engine = new binding::Engine(this, Bindings());
  unguarded([this] { FormCreate(); });
}

TfmWeb::~TfmWeb() = default;

void TfmWeb::FormCreate() {
  engine->start();
}

QWidget* createTfmWeb(QWidget* parent) {
  auto* window = new TfmWeb(parent);
  registerWindow(WindowId::Web, window);
  return window;
}

}  // namespace morvin
