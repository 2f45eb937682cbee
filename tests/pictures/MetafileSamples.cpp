#include "MetafileSamples.h"

#include <QtEndian>

namespace morvin::test {

namespace {

void put16(QByteArray& a, std::uint16_t v) {
  a.append(static_cast<char>(v & 0xFF));
  a.append(static_cast<char>(v >> 8));
}
void put32(QByteArray& a, std::uint32_t v) {
  put16(a, static_cast<std::uint16_t>(v & 0xFFFF));
  put16(a, static_cast<std::uint16_t>(v >> 16));
}

QByteArray wmfHeader(const QByteArray& records, std::uint16_t objects) {
  QByteArray h;
  put16(h, 1);       // in memory
  put16(h, 9);       // header words
  put16(h, 0x0300);  // version 3.0
  put32(h, static_cast<std::uint32_t>((18 + records.size() + 6) / 2));
  put16(h, objects);
  put32(h, 64);
  put16(h, 0);
  return h;
}

QByteArray wmfEof() {
  QByteArray eof;
  put32(eof, 3);
  put16(eof, 0);
  return eof;
}

}  // namespace

std::uint32_t colourRef(QColor c) {
  return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
         (static_cast<std::uint32_t>(c.blue()) << 16);
}

void WmfWriter::record(std::uint16_t function, std::initializer_list<std::int16_t> words,
                       const QByteArray& tail) {
  QByteArray body;
  for (std::int16_t w : words) put16(body, static_cast<std::uint16_t>(w));
  body.append(tail);
  if (body.size() % 2) body.append('\0');
  put32(records_, static_cast<std::uint32_t>(3 + body.size() / 2));
  put16(records_, function);
  records_.append(body);
}

void WmfWriter::dword(std::uint16_t function, std::uint32_t value) {
  record(function, {static_cast<std::int16_t>(value & 0xFFFF), static_cast<std::int16_t>(value >> 16)});
}

QByteArray WmfWriter::plain(std::uint16_t objects) const {
  return wmfHeader(records_, objects) + records_ + wmfEof();
}

QByteArray WmfWriter::placeable(std::int16_t left, std::int16_t top, std::int16_t right, std::int16_t bottom,
                                std::uint16_t inch, std::uint16_t objects) const {
  QByteArray p;
  put32(p, 0x9AC6CDD7);
  put16(p, 0);
  for (std::int16_t v : {left, top, right, bottom}) put16(p, static_cast<std::uint16_t>(v));
  put16(p, inch);
  put32(p, 0);
  std::uint16_t checksum = 0;
  for (int i = 0; i < 10; ++i) checksum ^= qFromLittleEndian<std::uint16_t>(p.constData() + 2 * i);
  put16(p, checksum);
  return p + plain(objects);
}

void EmfWriter::record(std::uint32_t type, std::initializer_list<std::int32_t> values,
                       const QByteArray& tail) {
  QByteArray body;
  for (std::int32_t v : values) put32(body, static_cast<std::uint32_t>(v));
  body.append(tail);
  while (body.size() % 4) body.append('\0');
  put32(records_, type);
  put32(records_, static_cast<std::uint32_t>(8 + body.size()));
  records_.append(body);
  ++count_;
}

QByteArray EmfWriter::file(int width, int height, std::uint16_t handles) const {
  QByteArray eof;
  put32(eof, 14);
  put32(eof, 20);
  put32(eof, 0);
  put32(eof, 16);
  put32(eof, 20);
  QByteArray h;
  put32(h, 1);
  put32(h, 88);
  for (std::int32_t v : {0, 0, width - 1, height - 1}) put32(h, static_cast<std::uint32_t>(v));  // bounds
  // The frame in 0.01 mm at 96 dpi.
  for (std::int32_t v : {0, 0, width * 2540 / 96, height * 2540 / 96})
    put32(h, static_cast<std::uint32_t>(v));
  put32(h, 0x464D4520);
  put32(h, 0x10000);
  put32(h, static_cast<std::uint32_t>(88 + records_.size() + eof.size()));
  put32(h, static_cast<std::uint32_t>(count_ + 2));
  put16(h, handles);
  put16(h, 0);
  put32(h, 0);  // description
  put32(h, 0);
  put32(h, 0);    // palette entries
  put32(h, 960);  // reference device: 960 pixels on 254 mm, 96 dpi
  put32(h, 960);
  put32(h, 254);
  put32(h, 254);
  return h + records_ + eof;
}

QByteArray packedDib(QColor topLeft, QColor topRight, QColor bottomLeft, QColor bottomRight) {
  QByteArray d;
  put32(d, 40);
  put32(d, 2);
  put32(d, 2);  // bottom-up
  put16(d, 1);
  put16(d, 24);
  for (int i = 0; i < 6; ++i) put32(d, 0);
  for (const auto& row : {std::pair{bottomLeft, bottomRight}, std::pair{topLeft, topRight}}) {
    for (QColor c : {row.first, row.second}) {
      d.append(static_cast<char>(c.blue()));
      d.append(static_cast<char>(c.green()));
      d.append(static_cast<char>(c.red()));
    }
    d.append(2, '\0');  // rows end on four bytes
  }
  return d;
}

}  // namespace morvin::test
