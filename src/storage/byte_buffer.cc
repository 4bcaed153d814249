// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/byte_buffer.h"

#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>
#endif

#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

namespace spravka {

ByteBuffer::ByteBuffer(size_t size, char fill) {
  ResizeUninitialized(size);
  std::memset(data(), fill, size);
}

ByteBuffer::ByteBuffer(const ByteBuffer& other) {
  ResizeUninitialized(other.size_);
  if (size_ > 0) std::memcpy(data(), other.data(), size_);
}

ByteBuffer& ByteBuffer::operator=(const ByteBuffer& other) {
  if (this != &other) {
    ByteBuffer copy(other);
    *this = std::move(copy);
  }
  return *this;
}

ByteBuffer::ByteBuffer(ByteBuffer&& other) noexcept
    : data_(std::move(other.data_)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept {
  data_ = std::move(other.data_);
  size_ = std::exchange(other.size_, 0);
  capacity_ = std::exchange(other.capacity_, 0);
  return *this;
}

void ByteBuffer::resize(size_t size) {
  const size_t old = size_;
  ResizeUninitialized(size);
  if (size > old) std::memset(data() + old, 0, size - old);
}

#ifdef __linux__
namespace {

// Working tables of millions of records take tens of megabytes: in huge
// pages the first touch of each costs one fault, not 512. Pages are still
// committed only where written (in steps of 2 MB instead of 4 KB).
constexpr size_t kHugePage = size_t{2} << 20;

}  // namespace

// The advice covers the whole pages the buffer touches: for a buffer of
// its own mapping, that is the whole mapping, which stays one piece, so
// that realloc can still grow it in place or move it without copying
// (advice on a part would split it, and realloc would copy every byte).
void PreferHugePages(char* data, size_t size) {
  if (size < 4 * kHugePage) return;
  static const auto page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto start = reinterpret_cast<uintptr_t>(data) & ~(page - 1);
  const auto end =
      (reinterpret_cast<uintptr_t>(data) + size + page - 1) & ~(page - 1);
  ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}
#else
void PreferHugePages(char*, size_t) {}
#endif

void ReserveLarge(std::string* text, size_t capacity) {
  if (capacity <= text->capacity()) return;
  const bool fresh = text->empty();
  text->reserve(capacity);
  if (fresh) PreferHugePages(text->data(), text->capacity());
}

void ByteBuffer::Reallocate(size_t capacity) {
  // Never zero bytes: realloc(p, 0) need not return a usable pointer.
  void* grown = std::realloc(data_.get(), capacity > 0 ? capacity : 1);
  if (grown == nullptr) throw std::bad_alloc();
  data_.release();
  data_.reset(static_cast<char*>(grown));
  if (capacity > capacity_) PreferHugePages(data_.get(), capacity);
  capacity_ = capacity;
}

void ByteBuffer::ResizeUninitialized(size_t size) {
  if (data_ == nullptr || size > capacity_ || size < size_) Reallocate(size);
  size_ = size;
}

void ByteBuffer::Reserve(size_t capacity) {
  if (capacity > capacity_) Reallocate(capacity);
}

}  // namespace spravka
