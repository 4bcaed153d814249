// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_FILE_IDENTITY_H_
#define SPRAVKA_STORAGE_FILE_IDENTITY_H_

#include <cstdint>
#include <string_view>

namespace spravka {

// The 64-bit xxHash (XXH64, seed 0) of `bytes`, at several gigabytes a
// second.
uint64_t Hash64(std::string_view bytes);

// What tells one version of a base file from another: its length and the
// hash of all its bytes, base part and change section alike. A writer
// behind a loaded base writes only while the file is still the one it
// loaded, or the one it wrote itself since.
struct BaseFileId {
  uint64_t length = 0;
  uint64_t hash = 0;
  bool operator==(const BaseFileId&) const = default;
};
inline BaseFileId FileIdOf(std::string_view bytes) {
  return {bytes.size(), Hash64(bytes)};
}

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_FILE_IDENTITY_H_
