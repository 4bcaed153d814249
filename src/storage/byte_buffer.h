// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_BYTE_BUFFER_H_
#define SPRAVKA_STORAGE_BYTE_BUFFER_H_

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

namespace spravka {

// A growable run of bytes, the storage of a working table. Unlike
// std::string it can grow without writing the new bytes: memory is then
// committed only where it is really written, so a length stated by a
// damaged file costs nothing until a stream fills it, and the reserve in
// front of a table costs only what the merge uses. Large buffers grow and
// shrink in place where the allocator can (realloc).
class ByteBuffer {
 public:
  ByteBuffer() = default;
  ByteBuffer(size_t size, char fill);
  ByteBuffer(const ByteBuffer& other);
  ByteBuffer& operator=(const ByteBuffer& other);
  ByteBuffer(ByteBuffer&& other) noexcept;
  ByteBuffer& operator=(ByteBuffer&& other) noexcept;
  ~ByteBuffer() = default;

  char* data() { return data_.get(); }
  const char* data() const { return data_.get(); }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  char& operator[](size_t i) { return data_.get()[i]; }
  char operator[](size_t i) const { return data_.get()[i]; }
  char* begin() { return data(); }
  char* end() { return data() + size_; }
  const char* begin() const { return data(); }
  const char* end() const { return data() + size_; }
  operator std::string_view() const { return {data(), size_}; }

  // New bytes are 0, as with std::string.
  void resize(size_t size);
  // New bytes hold whatever the memory held: the caller writes them before
  // anything reads them.
  void ResizeUninitialized(size_t size);
  // Makes room for `capacity` bytes without changing the size, so that
  // growing up to it later moves nothing. Shrinking gives the room back.
  void Reserve(size_t capacity);
  size_t capacity() const { return capacity_; }

 private:
  void Reallocate(size_t capacity);

  struct Free {
    void operator()(char* p) const { std::free(p); }
  };
  std::unique_ptr<char, Free> data_;
  size_t size_ = 0;
  size_t capacity_ = 0;
};

// Asks for the whole pages of a large allocation `data`..`data + size`,
// not yet touched, to be backed by huge pages where the system has them:
// the first touch of each then costs one fault, not 512.
void PreferHugePages(char* data, size_t size);

// Makes room for `capacity` bytes in an empty `*text`, in huge pages where
// it is large (a text that holds bytes already is only reserved).
void ReserveLarge(std::string* text, size_t capacity);

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_BYTE_BUFFER_H_
