// The settings window: start-up loads, colours, wallpaper, quick access, links, closing.
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "SettingsFixture.h"
#include "shell/SystemColours.h"

namespace morvin::test {
namespace {

const char* const kQuickButtons[] = {"IkPulpit", "IkFoldery", "IkIkony", "IkPasek",   "IkWindows",
                                     "IkSiec",   "IkMsDOS",   "IkLista", "IkPoradnik"};
const QColor kButtonFace = systemColour(syscolour::ButtonFace);

int visibleQuickButtons(QWidget* main) {
  int visible = 0;
  for (const char* name : kQuickButtons) visible += child(main, name)->isHidden() ? 0 : 1;
  return visible;
}

QLabel* wallpaper(QWidget* main) {
  return child<QLabel>(main, "Tapeta");
}

TEST_F(SettingsTest, FirstStartChangesNoColourShowsNoWallpaperAndWritesNothing) {
  start();
  startGuide();
  for (QWidget* member : colourSet())
    EXPECT_FALSE(member->autoFillBackground()) << member->objectName().toStdString();
  EXPECT_FALSE(main->HasWallpaper());
  EXPECT_TRUE(main->WallpaperVisible());
  EXPECT_EQ(visibleQuickButtons(main), 0);
  for (const char* box : {"CheckBox1", "CheckBox2", "CheckBox3"})
    EXPECT_FALSE(control<QCheckBox>(box)->isChecked());
  EXPECT_FALSE(machine->keyExists(HKLM, kVerb));
  for (const char* value : {"Kolor", "Tapeta", "Ukrycie tapety", "Integracja", "QuickRun"})
    EXPECT_FALSE(machine->valueExists(HKCU, kSettings, value)) << value;
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(SettingsTest, StoredColourAndQuickRunShowEveryMemberBlueAndTheNineButtons) {
  machine->setDword(HKCU, kSettings, "Kolor", 0x00FF0000);
  machine->setDword(HKCU, kSettings, "QuickRun", 1);
  start();
  startGuide();  // created after the settings window, it takes the colour as well
  const std::vector<QWidget*> members = colourSet();
  ASSERT_EQ(members.size(), 10u);
  for (QWidget* member : members)
    EXPECT_TRUE(hasColour(member, Qt::blue)) << member->objectName().toStdString();
  EXPECT_FALSE(hasColour(main, Qt::blue));
  EXPECT_FALSE(hasColour(set, Qt::blue));
  EXPECT_EQ(visibleQuickButtons(main), 9);
  EXPECT_TRUE(control<QCheckBox>("CheckBox3")->isChecked());
  // The colour dialog starts from the stored colour.
  dialogLog->answerColour(std::nullopt);
  click(set, "SpeedButton1");
  ASSERT_EQ(dialogLog->count(ShownDialog::Kind::ChooseColor), 1);
  EXPECT_EQ(QColor(dialogLog->shown().back().initial), QColor(Qt::blue));
}

TEST_F(SettingsTest, StoredFlagsAreRewrittenAsOneAndAWrongTypeIsIgnored) {
  machine->setDword(HKCU, kSettings, "QuickRun", 5);
  machine->setString(HKCU, kSettings, "Ukrycie tapety", "1");
  machine->setString(HKCU, kSettings, "Kolor", "255");
  start();
  EXPECT_EQ(machine->dword(HKCU, kSettings, "QuickRun"), 1);
  EXPECT_FALSE(control<QCheckBox>("CheckBox1")->isChecked());
  EXPECT_TRUE(main->WallpaperVisible());
  EXPECT_FALSE(hasColour(window(WindowId::Dos), Qt::red));
  EXPECT_EQ(visibleQuickButtons(main), 9);
}

TEST_F(SettingsTest, IntegrationIsRewrittenWithTheCurrentProgramPathAtStart) {
  machine->setDword(HKCU, kSettings, "Integracja", 1);
  machine->setString(HKLM, std::string(kVerb) + "\\command", "", "C:\\Stary folder\\Morvin.exe");
  start();
  EXPECT_TRUE(control<QCheckBox>("CheckBox2")->isChecked());
  EXPECT_EQ(machine->string(HKLM, kVerb, ""), "Uruchom Morvin NG");
  EXPECT_EQ(machine->string(HKLM, std::string(kVerb) + "\\command", ""),
            QCoreApplication::applicationFilePath().toStdString());
  // Unticking removes the verb and its command, and stores the choice.
  click(set, "CheckBox2");
  EXPECT_FALSE(machine->keyExists(HKLM, kVerb));
  EXPECT_EQ(machine->dword(HKCU, kSettings, "Integracja"), 0);
}

TEST_F(SettingsTest, StoredWallpaperIsLoadedHiddenAndNamedInTheEditBox) {
  const QString jpeg = picture("tapeta.jpg", Qt::darkGreen);
  machine->setString(HKCU, kSettings, "Tapeta", jpeg.toStdString());
  machine->setDword(HKCU, kSettings, "Ukrycie tapety", 1);
  start();
  EXPECT_TRUE(main->HasWallpaper());
  EXPECT_EQ(wallpaper(main)->pixmap().size(), QSize(40, 24));
  EXPECT_FALSE(main->WallpaperVisible());
  EXPECT_TRUE(control<QCheckBox>("CheckBox1")->isChecked());
  EXPECT_EQ(control<QLineEdit>("path")->text(), jpeg);
  EXPECT_EQ(machine->dword(HKCU, kSettings, "Ukrycie tapety"), 1);

  // Showing it again stores the choice.
  click(set, "CheckBox1");
  EXPECT_TRUE(main->WallpaperVisible());
  EXPECT_EQ(machine->dword(HKCU, kSettings, "Ukrycie tapety"), 0);
}

TEST_F(SettingsTest, AMissingStoredWallpaperIsSkippedSilently) {
  const std::string gone = data.filePath(QStringLiteral("usunieta.bmp")).toStdString();
  machine->setString(HKCU, kSettings, "Tapeta", gone);
  start();
  EXPECT_FALSE(main->HasWallpaper());
  EXPECT_EQ(control<QLineEdit>("path")->text().toStdString(), gone);
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(SettingsTest, BrowsingCancelledFirstLoadsAndStoresNothing) {
  start();
  dialogLog->answerFile(std::nullopt);
  click(set, "SpeedButton3");
  ASSERT_EQ(dialogLog->count(ShownDialog::Kind::OpenFile), 1);
  const QString filters = dialogLog->shown().back().text;
  for (const char* type : {"*.bmp", "*.ico", "*.wmf", "*.emf", "*.jpg", "*.jpeg"})
    EXPECT_TRUE(filters.contains(QLatin1String(type))) << type;
  EXPECT_FALSE(main->HasWallpaper());
  EXPECT_FALSE(machine->valueExists(HKCU, kSettings, "Tapeta"));
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(SettingsTest, BrowsingLoadsStoresAndRemembersTheChosenPicture) {
  start();
  const QString first = picture("pierwsza.jpg", Qt::red), second = picture("druga.ico", Qt::blue, "ico");
  dialogLog->answerFile(first);
  click(set, "SpeedButton3");
  EXPECT_EQ(control<QLineEdit>("path")->text(), first);
  EXPECT_EQ(machine->string(HKCU, kSettings, "Tapeta"), first.toStdString());
  EXPECT_TRUE(main->HasWallpaper());

  dialogLog->answerFile(second);
  click(set, "SpeedButton3");
  EXPECT_EQ(dialogLog->shown().back().initial, first);  // the dialog offers the last choice
  EXPECT_EQ(machine->string(HKCU, kSettings, "Tapeta"), second.toStdString());
  EXPECT_EQ(wallpaper(main)->pixmap().toImage().pixelColor(5, 5), QColor(Qt::blue));

  // Cancelled later: the dialog's file is the last one chosen; it is loaded again.
  main->ClearWallpaper();
  dialogLog->answerFile(std::nullopt);
  click(set, "SpeedButton3");
  EXPECT_TRUE(main->HasWallpaper());
  EXPECT_EQ(machine->string(HKCU, kSettings, "Tapeta"), second.toStdString());
}

// A path with a character outside the system's code page would read back with "?" in its place.
TEST_F(SettingsTest, APathTheRegistryCannotHoldIsNotStoredAndTheUserIsTold) {
  start();
  const QString kept = picture("stara.jpg", Qt::red);
  machine->setString(HKCU, kSettings, "Tapeta", kept.toStdString());
  ASSERT_TRUE(QDir(data.path()).mkdir(QString::fromUtf8("Пейзаж")));
  const QString foreign = picture("Пейзаж/góry.jpg", Qt::blue);
  dialogLog->answerFile(foreign);
  click(set, "SpeedButton3");
  EXPECT_EQ(machine->string(HKCU, kSettings, "Tapeta"), kept.toStdString());
  ASSERT_EQ(dialogLog->count(ShownDialog::Kind::Notice), 1);
  EXPECT_TRUE(dialogLog->texts(ShownDialog::Kind::Notice).front().contains(foreign));
}

TEST_F(SettingsTest, AnUnreadablePictureEndsBrowsingBeforeAnythingIsStored) {
  start();
  const QString text = data.filePath(QStringLiteral("opis.wmf"));
  QFile f(text);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("nie obraz");
  f.close();
  dialogLog->answerFile(text);
  click(set, "SpeedButton3");
  EXPECT_FALSE(main->HasWallpaper());
  EXPECT_FALSE(machine->valueExists(HKCU, kSettings, "Tapeta"));
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(SettingsTest, DefaultColourAfterAChangeReturnsTheWholeSetToButtonFace) {
  start();
  startGuide();
  dialogLog->answerColour(QColor(0x12, 0x34, 0x56));
  click(set, "SpeedButton1");
  for (QWidget* member : colourSet()) EXPECT_TRUE(hasColour(member, QColor(0x12, 0x34, 0x56)));
  EXPECT_EQ(machine->dword(HKCU, kSettings, "Kolor"), 0x563412);

  click(set, "SpeedButton2");
  for (QWidget* member : colourSet())
    EXPECT_TRUE(hasColour(member, kButtonFace)) << member->objectName().toStdString();
  EXPECT_EQ(machine->dword(HKCU, kSettings, "Kolor"), 0x8000000F);

  // A double-click on the sample runs the colour dialog too; cancelling changes nothing.
  dialogLog->answerColour(std::nullopt);
  doubleClick(control("panel"));
  EXPECT_EQ(dialogLog->count(ShownDialog::Kind::ChooseColor), 2);
  EXPECT_TRUE(hasColour(window(WindowId::Pulpit), kButtonFace));
  EXPECT_EQ(machine->dword(HKCU, kSettings, "Kolor"), 0x8000000F);
}

TEST_F(SettingsTest, WithoutTheSettingsKeyWritesFailAsEachHandlerSays) {
  machine->setDword(HKCU, kSettings, "QuickRun", 1);
  start();
  const QString jpeg = picture("tapeta.jpg", Qt::red);
  dialogLog->answerFile(jpeg);
  click(set, "SpeedButton3");
  ASSERT_TRUE(main->HasWallpaper());
  machine->deleteTree(HKCU, kSettings);

  // "Kolor domyślny" is guarded and changes no colour when its write fails.
  dialogLog->answerColour(QColor(Qt::red));
  click(set, "SpeedButton1");  // "Zmień kolor" colours first, then its write fails in the error box
  click(set, "SpeedButton2");
  EXPECT_TRUE(hasColour(window(WindowId::Dos), Qt::red));
  // Removing the wallpaper clears the box and the picture although the value cannot be removed.
  click(set, "SpeedButton4");
  EXPECT_TRUE(control<QLineEdit>("path")->text().isEmpty());
  EXPECT_FALSE(main->HasWallpaper());
  // Hiding the wallpaper hides it, then reports; the quick-access buttons stay when their write fails.
  click(set, "CheckBox1");
  EXPECT_FALSE(main->WallpaperVisible());
  click(set, "CheckBox3");
  EXPECT_EQ(visibleQuickButtons(main), 9);
  EXPECT_FALSE(control<QCheckBox>("CheckBox3")->isChecked());
  EXPECT_EQ(errorBoxes(),
            QStringList({"Failed to set data for 'Kolor'", "Failed to set data for 'Ukrycie tapety'",
                         "Failed to set data for 'QuickRun'"}));
  EXPECT_FALSE(machine->keyExists(HKCU, kSettings));
}

TEST_F(SettingsTest, QuickAccessButtonsFollowTheBoxAndTheStoredFlag) {
  start();
  click(set, "CheckBox3");
  EXPECT_EQ(visibleQuickButtons(main), 9);
  EXPECT_EQ(machine->dword(HKCU, kSettings, "QuickRun"), 1);
  click(set, "CheckBox3");
  EXPECT_EQ(visibleQuickButtons(main), 0);
  EXPECT_EQ(machine->dword(HKCU, kSettings, "QuickRun"), 0);
}

TEST_F(SettingsTest, LinksOpenMailAndWebAndTurnRedUnderTheMouse) {
  start();
  QLabel* mail = control<QLabel>("Label4");
  QLabel* web = control<QLabel>("Label7");
  EXPECT_EQ(mail->palette().color(QPalette::WindowText), QColor(Qt::blue));
  hover(mail);
  EXPECT_EQ(mail->palette().color(QPalette::WindowText), QColor(Qt::red));
  leave(mail);
  EXPECT_EQ(mail->palette().color(QPalette::WindowText), QColor(Qt::blue));
  EXPECT_TRUE(mail->font().underline());
  EXPECT_EQ(mail->cursor().shape(), Qt::PointingHandCursor);

  click(mail);
  click(web);
  ASSERT_EQ(shellLog->calls().size(), 2u);
  EXPECT_EQ(shellLog->calls()[0].verb, "open");
  EXPECT_EQ(shellLog->calls()[0].file, "mailto:" + mail->text() + "?Subject=Morvin NG");
  EXPECT_EQ(shellLog->calls()[0].showCommand, 5);
  EXPECT_EQ(shellLog->calls()[1].file, web->text());
  EXPECT_TRUE(web->text().contains(QLatin1String("example.org")));
}

TEST_F(SettingsTest, ClosingPutsTheNormalSettingsPictureBack) {
  start();
  QLabel* image3 = child<QLabel>(main, "Image3");
  main->LoadSettingsPicture(main->PressedSettingsPicture());
  set->show();
  set->close();
  EXPECT_FALSE(set->isVisible());
  EXPECT_EQ(image3->pixmap().toImage().pixelColor(2, 2), normalLook);

  // Escape closes it the same way; without the normal picture the pressed look stays and the box says why.
  main->LoadSettingsPicture(main->PressedSettingsPicture());
  QFile::remove(main->NormalSettingsPicture());
  set->show();
  set->reject();
  EXPECT_FALSE(set->isVisible());
  EXPECT_EQ(image3->pixmap().toImage().pixelColor(2, 2), pressedLook);
  EXPECT_EQ(errorBoxes(), QStringList("Cannot open file " + main->NormalSettingsPicture() + "."));
}

class ReadOnlyMachineSettingsTest : public SettingsTest {
 protected:
  platform::MachineOptions machineOptions() const override { return {true, false}; }
};

TEST_F(ReadOnlyMachineSettingsTest, WithoutRightsOverTheMachineIntegrationIsStoredButNoVerbWritten) {
  start();
  click(set, "CheckBox2");
  EXPECT_EQ(machine->dword(HKCU, kSettings, "Integracja"), 1);
  EXPECT_FALSE(machine->keyExists(HKLM, kVerb));
  EXPECT_TRUE(errorBoxes().isEmpty());
}

}  // namespace
}  // namespace morvin::test
