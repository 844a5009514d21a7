#pragma once
// Bounded little-endian access to byte images: PCI header, EEPROM, identification record and
// card buffers. Reads outside the image give 0, writes outside it are dropped, so a short or
// odd-sized image can never be read or written past its end.
#include <cstddef>
#include <cstdint>

class ByteView {
 public:
  ByteView() = default;
  ByteView(const uint8_t* data, size_t size) : m_data(data), m_size(data ? size : 0) {}

  const uint8_t* data() const { return m_data; }
  size_t size() const { return m_size; }
  // True when [offset, offset + count) lies inside the data.
  bool has(size_t offset, size_t count) const { return offset <= m_size && count <= m_size - offset; }
  ByteView from(size_t offset) const {
    return offset >= m_size ? ByteView() : ByteView(m_data + offset, m_size - offset);
  }

  uint8_t u8(size_t offset) const { return offset < m_size ? m_data[offset] : 0; }
  uint16_t u16(size_t offset) const { return static_cast<uint16_t>(u8(offset) | (u8(offset + 1) << 8)); }
  uint32_t u24(size_t offset) const { return u16(offset) | (static_cast<uint32_t>(u8(offset + 2)) << 16); }
  uint32_t u32(size_t offset) const {
    return static_cast<uint32_t>(u16(offset)) | (static_cast<uint32_t>(u16(offset + 2)) << 16);
  }

 private:
  const uint8_t* m_data = nullptr;
  size_t m_size = 0;
};

class ByteWriter {
 public:
  ByteWriter(uint8_t* data, size_t size) : m_data(data), m_size(data ? size : 0) {}
  template <typename Container>
  explicit ByteWriter(Container& c) : ByteWriter(reinterpret_cast<uint8_t*>(c.data()), c.size() * sizeof(c[0])) {}

  size_t size() const { return m_size; }
  void u8(size_t offset, uint32_t v) {
    if (offset < m_size) m_data[offset] = static_cast<uint8_t>(v);
  }
  void u16(size_t offset, uint32_t v) { put(offset, v, 2); }
  void u24(size_t offset, uint32_t v) { put(offset, v, 3); }
  void u32(size_t offset, uint32_t v) { put(offset, v, 4); }
  ByteView view() const { return ByteView(m_data, m_size); }

 private:
  void put(size_t offset, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) u8(offset + static_cast<size_t>(i), v >> (8 * i));
  }
  uint8_t* m_data;
  size_t m_size;
};
