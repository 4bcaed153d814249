// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/change_list.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace spravka {
namespace {

constexpr size_t kHead = 5;  // 3-byte number, 2-byte length

// Grows `buffer` to `size` bytes, its room by half at a time, so that
// appending a value at a time moves the values rarely.
void GrowTo(ByteBuffer& buffer, size_t size) {
  if (size > buffer.capacity()) {
    buffer.Reserve(std::max(size, buffer.capacity() + buffer.capacity() / 2));
  }
  buffer.ResizeUninitialized(size);
}

void WriteValue(char* at, uint32_t number, std::string_view value) {
  const size_t length = value.size() + kHead;
  auto* head = reinterpret_cast<uint8_t*>(at);
  head[0] = static_cast<uint8_t>(number);
  head[1] = static_cast<uint8_t>(number >> 8);
  head[2] = static_cast<uint8_t>(number >> 16);
  head[3] = static_cast<uint8_t>(length);
  head[4] = static_cast<uint8_t>(length >> 8);
  std::memcpy(at + kHead, value.data(), value.size());
}

}  // namespace

uint32_t ChangeList::NumberAt(size_t offset) const {
  const auto* b = reinterpret_cast<const uint8_t*>(values_.data()) + offset;
  return b[0] | b[1] << 8 | b[2] << 16;
}

size_t ChangeList::LengthAt(size_t offset) const {
  const auto* b = reinterpret_cast<const uint8_t*>(values_.data()) + offset;
  return b[3] | b[4] << 8;
}

size_t ChangeList::Locate(uint32_t number) const {
  const size_t block = number / kBlock;
  if (block >= block_start_.size()) return values_.size();
  size_t offset = block_start_[block];
  while (offset < values_.size() && NumberAt(offset) < number) {
    offset += LengthAt(offset);
  }
  return offset;
}

void ChangeList::Mark(uint32_t number) {
  const size_t word = number / 64;
  if (word >= present_.size()) {
    present_.resize(word + 1, 0);
    // The new blocks lie above every number that has a value.
    const size_t blocks = (present_.size() * 64 + kBlock - 1) / kBlock;
    block_start_.resize(blocks, values_.size());
  }
  present_[word] |= uint64_t{1} << (number % 64);
  ++count_;
}

void ChangeList::PutValue(size_t offset, size_t old_length, uint32_t number,
                          std::string_view value) {
  const bool deletion = value == kDeletion;
  const size_t new_length = deletion ? 0 : value.size() + kHead;
  const size_t size = values_.size();
  const size_t tail = size - offset - old_length;
  if (new_length > old_length) GrowTo(values_, size + new_length - old_length);
  std::memmove(values_.data() + offset + new_length,
               values_.data() + offset + old_length, tail);
  if (new_length < old_length) {
    values_.ResizeUninitialized(size - (old_length - new_length));
  }
  if (!deletion) {
    WriteValue(values_.data() + offset, number, value);
    highest_value_ = std::max(highest_value_, number);
  }
  // Blocks that start above the number begin that much later.
  for (size_t b = number / kBlock + 1; b < block_start_.size(); ++b) {
    block_start_[b] += new_length - old_length;
  }
}

void ChangeList::AppendValue(uint32_t number, std::string_view value) {
  const size_t offset = values_.size();
  GrowTo(values_, offset + value.size() + kHead);
  WriteValue(values_.data() + offset, number, value);
  if (number < highest_value_) in_order_ = false;
  highest_value_ = std::max(highest_value_, number);
}

bool ChangeList::Add(uint32_t number, std::string_view value) {
  if (!Takes(number, value) || Contains(number)) return false;
  Mark(number);
  if (value != kDeletion) {
    const size_t offset =
        number > highest_value_ ? values_.size() : Locate(number);
    PutValue(offset, 0, number, value);
  }
  return true;
}

bool ChangeList::Set(uint32_t number, std::string_view value) {
  if (!Takes(number, value)) return false;
  if (!Contains(number)) return Add(number, value);
  const size_t offset = Locate(number);
  const size_t old_length =
      offset < values_.size() && NumberAt(offset) == number ? LengthAt(offset)
                                                            : 0;
  if (old_length > 0 || value != kDeletion) {
    PutValue(offset, old_length, number, value);
  }
  return true;
}

bool ChangeList::Erase(uint32_t number) {
  if (!Contains(number)) return false;
  const size_t offset = Locate(number);
  if (offset < values_.size() && NumberAt(offset) == number) {
    PutValue(offset, LengthAt(offset), number, kDeletion);
  }
  present_[number / 64] &= ~(uint64_t{1} << (number % 64));
  --count_;
  return true;
}

std::optional<std::string_view> ChangeList::Find(uint32_t number) const {
  if (!Contains(number)) return std::nullopt;
  const size_t offset = Locate(number);
  if (offset < values_.size() && NumberAt(offset) == number) {
    return std::string_view(values_.data() + offset + kHead,
                            LengthAt(offset) - kHead);
  }
  return kDeletion;
}

void ChangeList::SortValues() {
  if (!in_order_) {
    // Number and offset in one word: values never reach 2^40 bytes.
    std::vector<uint64_t> order;
    for (size_t offset = 0; offset < values_.size();
         offset += LengthAt(offset)) {
      order.push_back(uint64_t{NumberAt(offset)} << 40 | offset);
    }
    std::sort(order.begin(), order.end());
    ByteBuffer sorted;
    sorted.ResizeUninitialized(values_.size());
    size_t at = 0;
    for (const uint64_t key : order) {
      const size_t offset = key & ((uint64_t{1} << 40) - 1);
      const size_t length = LengthAt(offset);
      std::memcpy(sorted.data() + at, values_.data() + offset, length);
      at += length;
    }
    values_ = std::move(sorted);
    in_order_ = true;
  }
  RebuildBlockStarts();
}

void ChangeList::RebuildBlockStarts() {
  size_t offset = 0;
  for (size_t b = 0; b < block_start_.size(); ++b) {
    const uint64_t start = uint64_t{b} * kBlock;
    while (offset < values_.size() && NumberAt(offset) < start) {
      offset += LengthAt(offset);
    }
    block_start_[b] = offset;
  }
}

void ChangeList::Iterator::Settle(uint64_t from) {
  const std::vector<uint64_t>& present = list_->present_;
  size_t word = from / 64;
  if (word >= present.size()) {
    at_end_ = true;
    return;
  }
  uint64_t bits = present[word] & (~uint64_t{0} << (from % 64));
  while (bits == 0) {
    if (++word >= present.size()) {
      at_end_ = true;
      return;
    }
    bits = present[word];
  }
  const auto number = static_cast<uint32_t>(word * 64 + std::countr_zero(bits));
  entry_.number = number;
  const ByteBuffer& values = list_->values_;
  if (offset_ < values.size() && list_->NumberAt(offset_) == number) {
    const size_t length = list_->LengthAt(offset_);
    entry_.value = std::string_view(values.data() + offset_ + kHead,
                                    length - kHead);
    offset_ += length;
  } else {
    entry_.value = kDeletion;
  }
}

bool ChangeListLoader::Add(uint32_t number, std::string_view value) {
  if (!ChangeList::Takes(number, value) || list_.Contains(number)) {
    return false;
  }
  list_.Mark(number);
  if (value != ChangeList::kDeletion) list_.AppendValue(number, value);
  return true;
}

}  // namespace spravka
