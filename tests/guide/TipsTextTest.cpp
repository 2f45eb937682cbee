// Loading the tips file: RTF or plain text, and the two failures.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QTemporaryDir>
#include <QTextDocument>

#include "RtfTestSupport.h"
#include "guide/TipsText.h"
#include "registry/Errors.h"
#include "shell/Text.h"

namespace morvin::test {
namespace {

// A device that opens but fails every read, as a disk error does.
class FailingDevice final : public QIODevice {
 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char*, qint64) override { return -1; }
};

class TipsFile : public ::testing::Test {
 protected:
  QString write(const QByteArray& bytes) {
    const QString path = dir.filePath(QStringLiteral("sztuczki.txt"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    return path;
  }
  std::string failureOf(const QString& path) {
    try {
      guide::loadTipsFile(path, doc);
    } catch (const Exception& e) {
      return e.message();
    }
    return "no failure";
  }
  QTemporaryDir dir;
  QTextDocument doc;
};

TEST_F(TipsFile, RtfIsShownFormattedAndPlainTextAsItIs) {
  guide::loadTipsFile(write(R"({\rtf1\ansi {\b Porada}\par Tre\'9c\'e6})"), doc);
  EXPECT_EQ(doc.toPlainText(), QString::fromUtf8("Porada\nTreść"));
  EXPECT_EQ(formatOf(doc, "Porada").fontWeight(), QFont::Bold);

  // Plain text in cp1250, CR LF lines; RTF-looking text later in the file stays text.
  guide::loadTipsFile(write("Porada \xb3\xb9\x63zy\r\n{\\b nie RTF}\r\n\r\nkoniec"), doc);
  EXPECT_EQ(doc.toPlainText(), QString::fromUtf8("Porada łączy\n{\\b nie RTF}\n\nkoniec"));
  EXPECT_EQ(formatOf(doc, "nie RTF").fontWeight(), QFont::Normal);
}

TEST_F(TipsFile, PlainTextHonoursByteOrderMarksAndEveryLineEnd) {
  EXPECT_EQ(guide::decodePlainText("\xEF\xBB\xBFZa\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87"),
            QString::fromUtf8("Zażółć"));
  EXPECT_EQ(guide::decodePlainText(QByteArray("\xFF\xFE\x42\x01\x0D\x00\x0A\x00\x41\x00", 10)),
            QString::fromUtf8("ł\nA"));
  EXPECT_EQ(guide::decodePlainText("a\rb\nc\r\nd"), "a\nb\nc\nd");
  EXPECT_EQ(guide::decodePlainText(""), QString());
}

TEST_F(TipsFile, AMissingFileOrAFolderCannotBeOpened) {
  const QString missing = dir.filePath(QStringLiteral("brak.txt"));
  EXPECT_EQ(failureOf(missing), "Cannot open file " + toAnsi(QDir::toNativeSeparators(missing)));
  EXPECT_EQ(failureOf(dir.path()), "Cannot open file " + toAnsi(QDir::toNativeSeparators(dir.path())));
}

TEST_F(TipsFile, AFileThatCannotBeReadFailsToLoadAndKeepsTheDocument) {
  doc.setPlainText("before");
  FailingDevice device;
  ASSERT_TRUE(device.open(QIODevice::ReadOnly));
  EXPECT_THROW(
      {
        try {
          guide::loadTipsStream(device, doc);
        } catch (const Exception& e) {
          EXPECT_EQ(e.message(), "Failed to Load Stream");
          throw;
        }
      },
      Exception);
  EXPECT_EQ(doc.toPlainText(), "before");

  // Too big to show: refused before anything is read (a sparse file costs no disk).
  const QString path = write("{\\rtf1 x}");
  QFile big(path);
  ASSERT_TRUE(big.resize(guide::kMaxTipsBytes + 1));
  EXPECT_EQ(failureOf(path), "Failed to Load Stream");
  EXPECT_EQ(doc.toPlainText(), "before");
}

TEST_F(TipsFile, AStreamIsReadFromWhereItStands) {
  QByteArray bytes = "HEADER{\\rtf1 body}";
  QBuffer buffer(&bytes);
  ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
  ASSERT_TRUE(buffer.seek(6));
  guide::loadTipsStream(buffer, doc);
  EXPECT_EQ(doc.toPlainText(), "body");
}

}  // namespace
}  // namespace morvin::test
