// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/record_table.h"

#include <algorithm>
#include <cstring>

namespace spravka {
namespace {

// Field values never hold the tag bytes 0x01..0x08, 0x1E or 0x1F.
bool IsFieldEnd(uint8_t b) {
  return (b >= 0x01 && b <= 0x08) || b == 0x1E || b == kRecordEnd;
}

}  // namespace

size_t Table::CountRecords() const {
  size_t count = 0;
  for (size_t p = 1; p < used; p += LengthAt(p)) ++count;
  return count;
}

void Table::EnsureSpare(size_t extra, size_t step) {
  if (spare() >= extra) return;
  const size_t missing = extra - spare();
  const size_t steps = (missing + step - 1) / step;
  const size_t size = bytes.size() + steps * step;
  // The table is longer by whole steps; the room behind it grows by half
  // at a time, so that many small growths (a long paste) move it rarely.
  if (size > bytes.capacity()) {
    bytes.Reserve(std::max(size, bytes.capacity() + bytes.capacity() / 2));
  }
  bytes.resize(size);
}

void Table::Append(uint32_t number, std::string_view text) {
  const size_t length = text.size() + kRecordHeadSize;
  EnsureSpare(length);
  uint8_t* head = at(used + 1);
  WriteRecordHead(head, number, length);
  std::memcpy(head + kRecordHeadSize, text.data(), text.size());
  used += length;
}

bool Table::HoldsRecordAt(size_t p) const {
  if (p < 1 || p + kRecordHeadSize > used) return false;
  const size_t length = LengthAt(p);
  return length > kRecordHeadSize && p + length - 1 <= used;
}

void Table::ReplaceText(size_t p, std::string_view text) {
  const size_t old_length = LengthAt(p);
  const size_t new_length = text.size() + kRecordHeadSize;
  const size_t rest = used - (p + old_length - 1);  // bytes behind it
  if (new_length > old_length) EnsureSpare(new_length - old_length);
  std::memmove(at(p + new_length), at(p + old_length), rest);
  used = used - old_length + new_length;
  WriteRecordHead(at(p), NumberAt(p), new_length);
  std::memcpy(at(p + kRecordHeadSize), text.data(), text.size());
}

void Table::Remove(size_t p) {
  const size_t length = LengthAt(p);
  std::memmove(at(p), at(p + length), used - (p + length - 1));
  used -= length;
}

bool FitsRecord(std::string_view text) {
  const size_t tag = !text.empty() && text.front() == '\x01' ? 0 : 1;
  return text.size() + tag + kRecordHeadSize <= kMaxRecordLength;
}

void WriteRecordHead(uint8_t* at, uint32_t number, size_t length) {
  at[0] = static_cast<uint8_t>(number);
  at[1] = static_cast<uint8_t>(number >> 8);
  at[2] = static_cast<uint8_t>(number >> 16);
  at[3] = static_cast<uint8_t>(length);
  at[4] = static_cast<uint8_t>(length >> 8);
}

std::string_view FieldOf(std::string_view text, int column) {
  const char tag = static_cast<char>(column);
  const size_t start = text.find(tag);
  if (start == std::string_view::npos) return {};
  size_t end = start + 1;
  while (end < text.size() && !IsFieldEnd(static_cast<uint8_t>(text[end]))) {
    ++end;
  }
  return text.substr(start + 1, end - start - 1);
}

}  // namespace spravka
