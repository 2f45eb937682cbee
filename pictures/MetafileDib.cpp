#include "MetafileDib.h"

#include <bit>
#include <vector>

namespace morvin::metafile {

namespace {

constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiJpeg = 4, kBiPng = 5;
constexpr std::int64_t kMaxPixels = 64LL * 1024 * 1024;

struct DibHeader {
  std::uint32_t headerSize = 0;
  std::int64_t width = 0, height = 0;
  unsigned bitCount = 0;
  std::uint32_t compression = kBiRgb;
  std::uint32_t imageSize = 0;
  std::size_t colours = 0;      // colour table entries
  std::size_t entrySize = 4;    // RGBQUAD, or RGBTRIPLE for a core header
  std::uint32_t masks[3] = {};  // bit fields of R, G, B
  std::size_t tableOffset = 0;  // where the colour table starts
};

DibHeader parseHeader(const Bytes& info) {
  DibHeader h;
  h.headerSize = info.u32(0);
  if (h.headerSize == 12) {  // BITMAPCOREHEADER
    h.width = info.u16(4);
    h.height = info.i16(6);
    h.bitCount = info.u16(10);
    h.entrySize = 3;
    h.tableOffset = 12;
    h.colours = h.bitCount <= 8 ? (std::size_t{1} << h.bitCount) : 0;
    return h;
  }
  if (h.headerSize < 40) throw OutOfRange();
  h.width = info.i32(4);
  h.height = info.i32(8);
  h.bitCount = info.u16(14);
  h.compression = info.u32(16);
  h.imageSize = info.u32(20);
  const std::uint32_t used = info.u32(32);
  h.tableOffset = h.headerSize;
  if (h.compression == kBiBitfields) {
    for (int i = 0; i < 3; ++i) h.masks[i] = info.u32(40 + 4 * static_cast<std::size_t>(i));
    if (h.headerSize == 40) h.tableOffset += 12;  // the masks follow a short header
  }
  if (h.bitCount <= 8) h.colours = used ? std::min<std::uint32_t>(used, 256) : (std::size_t{1} << h.bitCount);
  return h;
}

std::size_t tableSize(const DibHeader& h) {
  return h.tableOffset + h.colours * h.entrySize;
}

// A channel by its mask, scaled to 0..255.
int channel(std::uint32_t pixel, std::uint32_t mask) {
  if (!mask) return 0;
  const int shift = std::countr_zero(mask);
  const std::uint32_t max = mask >> shift;
  return static_cast<int>(((pixel & mask) >> shift) * 255 / max);
}

// Run-length rows (RLE8, RLE4) into palette indexes, bottom row first; pixels
// a delta skips keep index 0.
std::vector<std::uint8_t> decodeRle(const Bytes& bits, std::int64_t width, std::int64_t height,
                                    bool fourBits) {
  std::vector<std::uint8_t> indexes(static_cast<std::size_t>(width * height), 0);
  std::int64_t x = 0, y = 0;
  const auto put = [&](unsigned index) {
    if (x < width && y < height)
      indexes[static_cast<std::size_t>(y * width + x)] = static_cast<std::uint8_t>(index);
    ++x;
  };
  std::size_t pos = 0;
  while (pos + 1 < bits.size() && y < height) {
    const unsigned count = bits.u8(pos), value = bits.u8(pos + 1);
    pos += 2;
    if (count > 0) {  // a run of one value (RLE4: two alternating nibbles)
      for (unsigned i = 0; i < count; ++i) put(fourBits ? (i % 2 ? value & 0xF : value >> 4) : value);
    } else if (value == 0) {  // end of line
      x = 0, ++y;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // delta
      x += bits.u8(pos), y += bits.u8(pos + 1);
      pos += 2;
    } else {  // `value` pixels given one by one, padded to a word
      const std::size_t bytes = fourBits ? (value + 1) / 2 : value;
      for (unsigned i = 0; i < value; ++i) {
        const unsigned byte = bits.u8(pos + (fourBits ? i / 2 : i));
        put(fourBits ? (i % 2 ? byte & 0xF : byte >> 4) : byte);
      }
      pos += bytes + (bytes % 2);
    }
  }
  return indexes;
}

}  // namespace

QImage readDib(const Bytes& info, const Bytes& bits) {
  const DibHeader h = parseHeader(info);
  if (h.compression == kBiJpeg || h.compression == kBiPng)
    return QImage::fromData(
        bits.bytes(0, h.imageSize ? std::min<std::size_t>(h.imageSize, bits.size()) : bits.size()));
  const bool rle =
      (h.compression == kBiRle8 && h.bitCount == 8) || (h.compression == kBiRle4 && h.bitCount == 4);
  if (h.compression != kBiRgb && h.compression != kBiBitfields && !rle) return {};
  const std::int64_t width = h.width, height = h.height < 0 ? -h.height : h.height;
  if (width <= 0 || height <= 0 || width * height > kMaxPixels) return {};
  const unsigned bpp = h.bitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return {};
  std::vector<QRgb> palette(h.colours);
  for (std::size_t i = 0; i < h.colours; ++i) {
    const std::size_t o = h.tableOffset + i * h.entrySize;
    palette[i] = qRgb(info.u8(o + 2), info.u8(o + 1), info.u8(o));
  }
  std::uint32_t masks[3] = {h.masks[0], h.masks[1], h.masks[2]};
  if (h.compression == kBiRgb && bpp == 16) masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
  if (h.compression == kBiRgb && bpp == 32) masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;

  if (rle) {
    const std::vector<std::uint8_t> indexes = decodeRle(bits, width, height, h.bitCount == 4);
    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    for (std::int64_t row = 0; row < height; ++row) {
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(height - 1 - row)));
      for (std::int64_t x = 0; x < width; ++x) {
        const unsigned index = indexes[static_cast<std::size_t>(row * width + x)];
        line[x] = index < palette.size() ? palette[index] : qRgb(0, 0, 0);
      }
    }
    return image;
  }
  const std::size_t stride = static_cast<std::size_t>((width * bpp + 31) / 32 * 4);
  if (!bits.has(0, stride * static_cast<std::size_t>(height))) return {};
  QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
  for (std::int64_t row = 0; row < height; ++row) {
    const std::int64_t y = h.height < 0 ? row : height - 1 - row;
    const std::size_t base = static_cast<std::size_t>(row) * stride;
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(y)));
    for (std::int64_t x = 0; x < width; ++x) {
      const std::size_t ux = static_cast<std::size_t>(x);
      QRgb colour = 0;
      if (bpp <= 8) {
        const std::size_t bit = ux * bpp;
        const unsigned byte = bits.u8(base + bit / 8);
        const unsigned index = (byte >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
        colour = index < palette.size() ? palette[index] : qRgb(0, 0, 0);
      } else if (bpp == 24) {
        const std::size_t o = base + ux * 3;
        colour = qRgb(bits.u8(o + 2), bits.u8(o + 1), bits.u8(o));
      } else {
        const std::uint32_t pixel = bpp == 16 ? bits.u16(base + ux * 2) : bits.u32(base + ux * 4);
        colour = qRgb(channel(pixel, masks[0]), channel(pixel, masks[1]), channel(pixel, masks[2]));
      }
      line[x] = colour;
    }
  }
  return image;
}

QImage readPackedDib(const Bytes& dib) {
  const DibHeader h = parseHeader(dib);
  const std::size_t offset = tableSize(h);
  if (offset > dib.size()) return {};
  return readDib(dib, dib.sub(offset, dib.size() - offset));
}

QRectF dibSourceRect(const Bytes& info, const QImage& image, QRectF source) {
  const bool bottomUp = info.u32(0) == 12 ? info.i16(6) > 0 : info.i32(8) > 0;
  if (bottomUp && !image.isNull()) source.moveTop(image.height() - source.top() - source.height());
  return source;
}

}  // namespace morvin::metafile
