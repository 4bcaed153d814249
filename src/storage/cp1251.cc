// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/cp1251.h"

#include <array>
#include <cstdint>

namespace spravka {
namespace {

// Unicode of the bytes 0x80..0xFF; 0x98 is undefined and maps to U+0098.
constexpr std::array<uint16_t, 128> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

void AppendUtf8(std::string* out, uint32_t cp) {
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | cp >> 6));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xE0 | cp >> 12));
    out->push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Decodes one UTF-8 character at s[*i]; -1 when malformed.
int64_t DecodeUtf8(std::string_view s, size_t* i) {
  const auto byte = [&](size_t k) { return static_cast<uint8_t>(s[k]); };
  const uint8_t lead = byte(*i);
  size_t extra;
  uint32_t cp;
  if (lead < 0x80) {
    ++*i;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    cp = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    cp = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    cp = lead & 0x07;
  } else {
    return -1;
  }
  if (*i + extra >= s.size()) return -1;
  for (size_t k = 1; k <= extra; ++k) {
    if ((byte(*i + k) & 0xC0) != 0x80) return -1;
    cp = cp << 6 | (byte(*i + k) & 0x3F);
  }
  static constexpr uint32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
  if (cp < kMinimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    return -1;
  }
  *i += extra + 1;
  return cp;
}

}  // namespace

std::string Cp1251ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char c : bytes) {
    const uint8_t b = static_cast<uint8_t>(c);
    AppendUtf8(&out, b < 0x80 ? b : kHighHalf[b - 0x80]);
  }
  return out;
}

std::optional<std::string> Utf8ToCp1251(std::string_view utf8,
                                        size_t* bad_offset) {
  static const std::array<uint8_t, 0x2200> kReverse = [] {
    std::array<uint8_t, 0x2200> r{};
    for (int b = 0x80; b < 0x100; ++b) r[kHighHalf[b - 0x80]] = static_cast<uint8_t>(b);
    return r;
  }();
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const size_t start = i;
    const int64_t cp = DecodeUtf8(utf8, &i);
    uint8_t b = 0;
    if (cp >= 0 && cp < 0x80) {
      b = static_cast<uint8_t>(cp);
    } else if (cp >= 0x80 && cp < static_cast<int64_t>(kReverse.size())) {
      b = kReverse[cp];
    }
    if (cp < 0 || (cp >= 0x80 && b == 0)) {
      if (bad_offset) *bad_offset = start;
      return std::nullopt;
    }
    out.push_back(static_cast<char>(b));
  }
  return out;
}

size_t Utf8CharacterLength(std::string_view utf8, size_t offset) {
  if (offset >= utf8.size()) return 0;
  size_t end = offset;
  return DecodeUtf8(utf8, &end) < 0 ? 0 : end - offset;
}

}  // namespace spravka
