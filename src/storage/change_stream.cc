// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/change_stream.h"

#include <cstdint>

#include "storage/record_key.h"
#include "storage/record_table.h"

namespace spravka {
namespace {

static_assert(kMaxReadableChangeEntry ==
              kChangeKeyLength + kMaxRecordLength - kRecordHeadSize);

constexpr uint8_t kLineFeed = 0x0A;  // has no meaning in a change stream

void AppendEntries(const ChangeList& list, std::string* out) {
  for (const auto& [key, data] : list) {
    out->append(key);
    out->append(data.value);
  }
}

// An entry becomes a change when its key is seven digits naming a record
// number of the table format and its value fits a record. The value is
// taken as it stands (it ends with 0x1F, so the record keeps its end).
bool IsUsableEntry(std::string_view key, std::string_view value) {
  for (char c : key) {
    if (c < '0' || c > '9') return false;
  }
  const int64_t number = KeyToNumber(key);
  if (number < 1 || number > kMaxRecordNumber) return false;
  return FitsRecord(value);
}

}  // namespace

std::string BuildChangeStream(const ChangeList& home, const ChangeList& org) {
  size_t size = 1;
  for (const auto& [key, data] : home) size += key.size() + data.value.size();
  for (const auto& [key, data] : org) size += key.size() + data.value.size();
  std::string out;
  out.reserve(size);
  AppendEntries(home, &out);
  out.push_back(static_cast<char>(kTableSeparator));
  AppendEntries(org, &out);
  return out;
}

void ChangeStreamParser::EndEntry() {
  if (!too_long_ && entry_.size() > kChangeKeyLength && table_ < 2) {
    const std::string_view key(entry_.data(), kChangeKeyLength);
    const std::string_view value(entry_.data() + kChangeKeyLength,
                                 entry_.size() - kChangeKeyLength);
    if (IsUsableEntry(key, value)) {
      lists_[table_]->Add(std::string(key), std::string(value));
    }
  }
  entry_.clear();
  too_long_ = false;
}

void ChangeStreamParser::Feed(std::string_view piece) {
  for (const char c : piece) {
    const auto b = static_cast<uint8_t>(c);
    if (b == kTableSeparator) {
      ++table_;  // the entry goes on: a separator does not end it
    } else if (b == kLineFeed) {
      continue;
    } else if (too_long_) {
      if (b == kRecordEnd) EndEntry();
    } else {
      entry_.push_back(c);
      if (b == kRecordEnd) {
        EndEntry();
      } else if (entry_.size() >= kMaxReadableChangeEntry) {
        // With its 0x1F still to come it cannot fit a record any more.
        too_long_ = true;
        entry_.clear();
        entry_.shrink_to_fit();
      }
    }
  }
}

void ParseChangeStream(std::string_view stream, ChangeList* home,
                       ChangeList* org) {
  ChangeStreamParser parser(home, org);
  parser.Feed(stream);
}

}  // namespace spravka
