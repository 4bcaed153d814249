// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/change_stream.h"

#include <cstdint>

#include "storage/record_key.h"
#include "storage/record_table.h"

namespace spravka {
namespace {

static_assert(kMaxReadableChangeEntry ==
              kChangeKeyLength + kMaxRecordLength - kRecordHeadSize);
static_assert(ChangeList::kMaxNumber == kMaxRecordNumber);
static_assert(ChangeList::kMaxValue == kMaxRecordLength - kRecordHeadSize);

constexpr uint8_t kLineFeed = 0x0A;  // has no meaning in a change stream

// The stream is handed on in pieces of about this size.
constexpr size_t kStreamPiece = 256 * 1024;

// RecordKey(number) without a string of its own.
void AppendKey(uint32_t number, std::string* out) {
  char digits[10];
  size_t n = 0;
  do {
    digits[n++] = static_cast<char>('0' + number % 10);
    number /= 10;
  } while (number > 0);
  for (size_t i = n; i < kChangeKeyLength; ++i) out->push_back('0');
  while (n > 0) out->push_back(digits[--n]);
}

// The bytes that mean something in a change stream besides field text.
bool IsMarker(uint8_t b) {
  return b == kRecordEnd || b == kTableSeparator || b == kLineFeed;
}

// An entry becomes a change when its key is seven digits naming a record
// number of the table format and its value fits a record. The value is
// taken as it stands (it ends with 0x1F, so the record keeps its end).
int64_t UsableNumber(std::string_view key, std::string_view value) {
  for (char c : key) {
    if (c < '0' || c > '9') return -1;
  }
  const int64_t number = KeyToNumber(key);
  if (number < 1 || number > kMaxRecordNumber || !FitsRecord(value)) return -1;
  return number;
}

}  // namespace

void WriteChangeStream(const ChangeList& home, const ChangeList& org,
                       const std::function<void(std::string_view)>& consume) {
  std::string piece;
  piece.reserve(kStreamPiece + kMaxReadableChangeEntry);
  const auto append = [&](const ChangeList& list) {
    for (const ChangeEntry& entry : list) {
      AppendKey(entry.number, &piece);
      piece.append(entry.value);
      if (piece.size() >= kStreamPiece) {
        consume(piece);
        piece.clear();
      }
    }
  };
  append(home);
  piece.push_back(static_cast<char>(kTableSeparator));
  append(org);
  consume(piece);
}

std::string BuildChangeStream(const ChangeList& home, const ChangeList& org) {
  std::string out;
  WriteChangeStream(home, org, [&out](std::string_view piece) {
    out.append(piece);
  });
  return out;
}

void ChangeStreamParser::EndEntry() {
  if (!too_long_ && entry_.size() > kChangeKeyLength && table_ < 2) {
    const std::string_view key(entry_.data(), kChangeKeyLength);
    const std::string_view value(entry_.data() + kChangeKeyLength,
                                 entry_.size() - kChangeKeyLength);
    const int64_t number = UsableNumber(key, value);
    if (number > 0) lists_[table_].Add(static_cast<uint32_t>(number), value);
  }
  entry_.clear();
  too_long_ = false;
}

void ChangeStreamParser::Feed(std::string_view piece) {
  const char* p = piece.data();
  const char* const end = p + piece.size();
  while (p < end) {
    // The text up to the next marker belongs to the entry.
    const char* stop = p;
    while (stop < end && !IsMarker(static_cast<uint8_t>(*stop))) ++stop;
    if (!too_long_) {
      const auto run = static_cast<size_t>(stop - p);
      if (entry_.size() + run >= kMaxReadableChangeEntry) {
        // With its 0x1F still to come it cannot fit a record any more.
        too_long_ = true;
        entry_.clear();
        entry_.shrink_to_fit();
      } else {
        entry_.append(p, run);
      }
    }
    if (stop == end) break;
    p = stop + 1;
    const auto b = static_cast<uint8_t>(*stop);
    if (b == kTableSeparator) {
      ++table_;  // the entry goes on: a separator does not end it
    } else if (b == kRecordEnd) {
      if (!too_long_) entry_.push_back(*stop);
      EndEntry();
    }
  }
}

void ChangeStreamParser::Finish() {
  lists_[0].Finish();
  lists_[1].Finish();
}

void ParseChangeStream(std::string_view stream, ChangeList* home,
                       ChangeList* org) {
  ChangeStreamParser parser(home, org);
  parser.Feed(stream);
  parser.Finish();
}

}  // namespace spravka
