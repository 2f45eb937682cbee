// The guide window's tests: a throw-away data folder holding Poradnik, and
// a printing service that prints into PDF files.
#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "guide/TipsText.h"
#include "guide/kodPoradnik.h"
#include "shell/DataPaths.h"
#include "shell/RecordingPrintService.h"
#include "shell/WindowFactories.h"
#include "tests/support/gui/GuiTest.h"

namespace morvin::test {

class GuideTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    ASSERT_TRUE(dataDir.isValid());
    ASSERT_TRUE(QDir(dataDir.path()).mkpath(QStringLiteral("Poradnik")));
    setDataFolder(dataDir.path());
    printLog = std::make_shared<RecordingPrintService>(dataDir.path());
    setPrintService(printLog);
  }
  void TearDown() override {
    setPrintService(nullptr);
    setDataFolder(QString());
    GuiTest::TearDown();
  }

  QString tipsPath() const { return dataDir.path() + QStringLiteral("/Poradnik/sztuczki.txt"); }
  void writeTips(const QByteArray& bytes) const {
    QFile file(tipsPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
  }
  // Creates the window as start-up does.
  TfmSztuczki* createGuide() { return static_cast<TfmSztuczki*>(createTfmSztuczki(nullptr)); }

  QTemporaryDir dataDir;
  std::shared_ptr<RecordingPrintService> printLog;
};

}  // namespace morvin::test
