// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/town_list.h"

#include <algorithm>
#include <cstdint>

#include "app/town_names.h"

namespace spravka {
namespace {

// Decodes one UTF-8 character at `i` and advances `i`; a malformed byte
// stands for itself.
char32_t NextCodePoint(std::string_view s, size_t& i) {
  unsigned char b = static_cast<unsigned char>(s[i]);
  int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
  if (extra == 0 || i + extra >= s.size()) {
    ++i;
    return b;
  }
  char32_t c = b & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    unsigned char t = static_cast<unsigned char>(s[i + k]);
    if ((t & 0xC0) != 0x80) {
      ++i;
      return b;
    }
    c = c << 6 | (t & 0x3F);
  }
  i += extra + 1;
  return c;
}

// A sort weight: the lower-case letter, with ё placed between е and ж as
// in the Russian alphabet.
uint64_t Weight(char32_t c) {
  if (c >= U'A' && c <= U'Z') c += 0x20;
  if (c >= 0x410 && c <= 0x42F) c += 0x20;  // А..Я
  if (c >= 0x400 && c <= 0x40F) c += 0x50;  // Ѐ..Џ, Ё among them
  if (c == 0x451) return uint64_t{0x435} * 2 + 1;
  return uint64_t{c} * 2;
}

}  // namespace

int CompareNoCase(std::string_view a, std::string_view b) {
  size_t i = 0;
  size_t j = 0;
  while (i < a.size() && j < b.size()) {
    uint64_t x = Weight(NextCodePoint(a, i));
    uint64_t y = Weight(NextCodePoint(b, j));
    if (x != y) return x < y ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

int TownList::Find(std::string_view text) const {
  // Entries that differ only in case (files of a case-sensitive folder):
  // each text finds its own.
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i] == text) return static_cast<int>(i);
  }
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (CompareNoCase(entries_[i], text) == 0) return static_cast<int>(i);
  }
  return -1;
}

int TownList::Add(std::string text) {
  auto at = std::upper_bound(entries_.begin(), entries_.end(), text,
                             [](const std::string& a, const std::string& b) {
                               return CompareNoCase(a, b) < 0;
                             });
  at = entries_.insert(at, std::move(text));
  return static_cast<int>(at - entries_.begin());
}

TownList BuildTownList(const std::vector<std::string>& file_names) {
  TownList list;
  for (const std::string& name : file_names) {
    if (HasQzExtension(name)) list.Add(" " + StripQzExtension(name));
  }
  return list;
}

}  // namespace spravka
