// The application error box: its full-stop rule and which failures reach it.
#include <gtest/gtest.h>

#include <stdexcept>

#include "registry/Cp1250.h"
#include "registry/Errors.h"
#include "shell/Guard.h"
#include "tests/support/gui/GuiTest.h"

namespace morvin {
namespace {

TEST(FullStop, AppendedOnlyAfterCharactersAboveTheFullStop) {
  EXPECT_EQ(withFullStop(""), "");
  EXPECT_EQ(withFullStop("Range check error"), "Range check error.");
  EXPECT_EQ(withFullStop("Done."), "Done.");
  // The quotation mark, '!' and '-' lie below the full stop: nothing is added.
  EXPECT_EQ(withFullStop("Failed to set data for 'NoDialIn'"), "Failed to set data for 'NoDialIn'");
  EXPECT_EQ(withFullStop("Uwaga!"), "Uwaga!");
  EXPECT_EQ(withFullStop("a-"), "a-");
  // '/' and digits lie above it.
  EXPECT_EQ(withFullStop("C:/"), "C:/.");
  EXPECT_EQ(withFullStop("I/O error 5"), "I/O error 5.");
  // A cp1250 letter is a byte above 127, compared unsigned.
  const std::string polish = cp1250::fromUtf8("Błąd zapisu: plik zajęty, ą");
  EXPECT_EQ(withFullStop(polish), polish + ".");
}

class ErrorBoxTest : public test::GuiTest {};

TEST_F(ErrorBoxTest, UnguardedFailuresShowTheirMessageWithTheFullStopRule) {
  unguarded([] { throw Exception("Cannot open file /x/Ustawienie2.Bmp"); });
  unguarded([] { throw ERegistryException("Failed to set data for 'NoNetSetup'"); });
  unguarded([] { throw std::runtime_error("disk full"); });
  unguarded([] { throw 42; });
  unguarded([] { throw Exception(cp1250::fromUtf8("Nie można zapisać pliku Zażółć")); });

  const QStringList shown = errorBoxes();
  ASSERT_EQ(shown.size(), 5);
  EXPECT_EQ(shown[0], "Cannot open file /x/Ustawienie2.Bmp.");
  EXPECT_EQ(shown[1], "Failed to set data for 'NoNetSetup'");
  EXPECT_EQ(shown[2], "disk full.");
  EXPECT_FALSE(shown[3].isEmpty());  // a generic text for a failure without a message
  EXPECT_EQ(shown[4], QString::fromUtf8("Nie można zapisać pliku Zażółć."));
  EXPECT_EQ(dialogLog->shown()[0].caption, "Morvin - Next Generation");
  EXPECT_EQ(dialogLog->shown()[0].icon, MsgIcon::Error);
}

TEST_F(ErrorBoxTest, GuardedAndLoadTimeFailuresShowNothing) {
  bool ranAfterFailure = false;
  guarded([] { throw Exception("swallowed"); });
  {
    LoadScope load;
    EXPECT_TRUE(loading());
    unguarded([] { throw Exception("inside a load step"); });
    {
      LoadScope nested;
      unguarded([] { throw Exception("nested"); });
    }
    EXPECT_TRUE(loading());  // the inner scope ended, the outer load still runs
    ranAfterFailure = true;
  }
  EXPECT_FALSE(loading());
  EXPECT_TRUE(ranAfterFailure);
  EXPECT_TRUE(errorBoxes().isEmpty());

  // Once the load is over the same failure is reported again.
  unguarded([] { throw Exception("after the load"); });
  EXPECT_EQ(errorBoxes(), QStringList{"after the load."});
}

}  // namespace
}  // namespace morvin
