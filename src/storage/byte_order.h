// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_BYTE_ORDER_H_
#define SPRAVKA_STORAGE_BYTE_ORDER_H_

#include <cstdint>
#include <string>

namespace spravka {

// All integers in base files are 32-bit little-endian two's complement.
inline int32_t ReadInt32(const uint8_t* p) {
  return static_cast<int32_t>(uint32_t{p[0]} | uint32_t{p[1]} << 8 |
                              uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24);
}

inline void WriteInt32(uint8_t* p, int32_t value) {
  const uint32_t v = static_cast<uint32_t>(value);
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}

inline void AppendInt32(std::string* out, int32_t value) {
  uint8_t bytes[4];
  WriteInt32(bytes, value);
  out->append(reinterpret_cast<const char*>(bytes), 4);
}

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_BYTE_ORDER_H_
