// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_RECORD_KEY_H_
#define SPRAVKA_STORAGE_RECORD_KEY_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace spravka {

// The largest record number a seven-digit key holds: the most records a
// table can be given numbers for.
constexpr uint32_t kMaxKeyedRecordNumber = 9999999;

// The decimal digits of n, left-padded with "0" to 7 characters; longer
// numbers keep all their digits.
std::string RecordKey(int64_t n);

// The value of s when s is a valid decimal integer (an optional sign, then
// digits, nothing else), else -1.
int64_t KeyToNumber(std::string_view s);

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_RECORD_KEY_H_
