// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_CHANGE_STREAM_H_
#define SPRAVKA_STORAGE_CHANGE_STREAM_H_

#include <functional>
#include <string>
#include <string_view>

#include "storage/change_list.h"

namespace spravka {

// Hands the change stream of two lists to `consume` a piece at a time: the
// residential entries, 0x1E, the organisation entries; each entry its key
// (RecordKey of its number) followed by its value.
void WriteChangeStream(const ChangeList& home, const ChangeList& org,
                       const std::function<void(std::string_view)>& consume);

// The same stream whole.
std::string BuildChangeStream(const ChangeList& home, const ChangeList& org);

// The longest change entry that can become a change: the key and the
// longest value that fits a record.
constexpr size_t kChangeKeyLength = 7;
constexpr size_t kMaxReadableChangeEntry = kChangeKeyLength + 65530;

// Fills two empty change lists from a decompressed change stream that
// arrives in pieces (as it inflates); the lists are whole once Finish has
// run. Entries of 7 bytes or fewer, entries after a second 0x1E, keys that
// are not seven decimal digits, record numbers outside 1..16777215, values
// that do not fit a record (FitsRecord), and text after the last 0x1F are
// dropped; a key seen twice keeps its first value. An entry is dropped as
// soon as it grows longer than kMaxReadableChangeEntry, so memory stays
// bounded by the lists however long the stream is.
class ChangeStreamParser {
 public:
  ChangeStreamParser(ChangeList* home, ChangeList* org)
      : lists_{ChangeListLoader(home), ChangeListLoader(org)} {}
  void Feed(std::string_view piece);
  void Finish();

 private:
  void EndEntry();

  ChangeListLoader lists_[2];
  int table_ = 0;
  std::string entry_;
  bool too_long_ = false;  // the current entry is being dropped
};

// The same for a whole stream at once.
void ParseChangeStream(std::string_view stream, ChangeList* home,
                       ChangeList* org);

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_CHANGE_STREAM_H_
