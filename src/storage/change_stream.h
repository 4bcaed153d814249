#ifndef SPRAVKA_STORAGE_CHANGE_STREAM_H_
#define SPRAVKA_STORAGE_CHANGE_STREAM_H_

#include <string>
#include <string_view>

#include "storage/change_list.h"

namespace spravka {

// The residential entries, 0x1E, the organisation entries; each entry its
// key followed by its value.
std::string BuildChangeStream(const ChangeList& home, const ChangeList& org);

// Fills the two (empty) lists from a decompressed change stream. Entries of
// 7 bytes or fewer, entries after a second 0x1E, keys that are not seven
// decimal digits, record numbers outside 1..16777215, values that would make
// a record longer than 65535 bytes, and text after the last 0x1F are
// dropped; a key seen twice keeps its first value.
void ParseChangeStream(std::string_view stream, ChangeList* home,
                       ChangeList* org);

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_CHANGE_STREAM_H_
