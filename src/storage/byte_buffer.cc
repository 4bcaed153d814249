#include "storage/byte_buffer.h"

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
    : data_(std::move(other.data_)), size_(std::exchange(other.size_, 0)) {}

ByteBuffer& ByteBuffer::operator=(ByteBuffer&& other) noexcept {
  data_ = std::move(other.data_);
  size_ = std::exchange(other.size_, 0);
  return *this;
}

void ByteBuffer::resize(size_t size) {
  const size_t old = size_;
  ResizeUninitialized(size);
  if (size > old) std::memset(data() + old, 0, size - old);
}

void ByteBuffer::ResizeUninitialized(size_t size) {
  if (size == size_ && data_ != nullptr) return;
  // Never zero bytes: realloc(p, 0) need not return a usable pointer.
  void* grown = std::realloc(data_.get(), size > 0 ? size : 1);
  if (grown == nullptr) throw std::bad_alloc();
  data_.release();
  data_.reset(static_cast<char*>(grown));
  size_ = size;
}

}  // namespace spravka
