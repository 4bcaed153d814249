#include "storage/change_stream.h"

#include <cstdint>

#include "storage/record_key.h"
#include "storage/record_table.h"

namespace spravka {
namespace {

constexpr size_t kKeyLength = 7;

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
  return value.size() + kRecordHeadSize <= kMaxRecordLength;
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

void ParseChangeStream(std::string_view stream, ChangeList* home,
                       ChangeList* org) {
  int table = 0;
  std::string entry;
  for (char c : stream) {
    const uint8_t b = static_cast<uint8_t>(c);
    if (b == kRecordEnd) {
      entry.push_back(c);
      if (entry.size() > kKeyLength && table < 2) {
        std::string_view key(entry.data(), kKeyLength);
        std::string_view value(entry.data() + kKeyLength, entry.size() - kKeyLength);
        if (IsUsableEntry(key, value)) {
          (table == 0 ? home : org)->Add(std::string(key), std::string(value));
        }
      }
      entry.clear();
    } else if (b == kTableSeparator) {
      ++table;
    } else if (b != 0x0A) {
      entry.push_back(c);
    }
  }
}

}  // namespace spravka
