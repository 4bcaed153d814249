// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/record_key.h"

#include <charconv>

namespace spravka {

std::string RecordKey(int64_t n) {
  std::string digits = std::to_string(n);
  if (digits.size() < 7) digits.insert(0, 7 - digits.size(), '0');
  return digits;
}

int64_t KeyToNumber(std::string_view s) {
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (s.empty() || s.front() == '+') return -1;
  int64_t value = 0;
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (error != std::errc() || end != s.data() + s.size()) return -1;
  return value;
}

}  // namespace spravka
