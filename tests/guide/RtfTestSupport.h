// Helpers for reading back what the RTF reader put into a document.
#pragma once

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <memory>

#include "guide/RtfReader.h"

namespace morvin::test {

inline std::unique_ptr<QTextDocument> readRtfText(const QByteArray& rtf) {
  auto document = std::make_unique<QTextDocument>();
  EXPECT_TRUE(guide::readRtf(rtf, *document)) << rtf.constData();
  return document;
}

// The format of the run of text that contains `text` (the test fails when none does).
inline QTextCharFormat formatOf(const QTextDocument& document, const QString& text) {
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
    for (auto it = block.begin(); !it.atEnd(); ++it)
      if (it.fragment().text().contains(text)) return it.fragment().charFormat();
  ADD_FAILURE() << "no run holds " << text.toStdString();
  return {};
}

// The paragraph that contains `text`.
inline QTextBlock blockOf(const QTextDocument& document, const QString& text) {
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
    if (block.text().contains(text)) return block;
  ADD_FAILURE() << "no paragraph holds " << text.toStdString();
  return {};
}

}  // namespace morvin::test
