// Small Windows metafiles made record by record, as a drawing program writes them.
#pragma once

#include <QByteArray>
#include <QColor>
#include <cstdint>
#include <initializer_list>

namespace morvin::test {

std::uint32_t colourRef(QColor c);

// A WMF: records of 16-bit words; placeable when given a frame.
class WmfWriter {
 public:
  void record(std::uint16_t function, std::initializer_list<std::int16_t> words, const QByteArray& tail = {});
  void dword(std::uint16_t function, std::uint32_t value);
  // The whole file; `inch` logical units per inch, the frame in logical units.
  QByteArray placeable(std::int16_t left, std::int16_t top, std::int16_t right, std::int16_t bottom,
                       std::uint16_t inch, std::uint16_t objects) const;
  QByteArray plain(std::uint16_t objects) const;

 private:
  QByteArray records_;
};

// An EMF: 32-bit records after a header sized for 96 dpi.
class EmfWriter {
 public:
  void record(std::uint32_t type, std::initializer_list<std::int32_t> values, const QByteArray& tail = {});
  // The whole file; the picture is `width` by `height` pixels.
  QByteArray file(int width, int height, std::uint16_t handles) const;

 private:
  QByteArray records_;
  int count_ = 0;
};

// A bottom-up 24-bit BITMAPINFOHEADER followed by the rows of a 2x2 picture.
QByteArray packedDib(QColor topLeft, QColor topRight, QColor bottomLeft, QColor bottomRight);

}  // namespace morvin::test
