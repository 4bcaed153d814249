// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_KEYSTREAM_H_
#define SPRAVKA_STORAGE_KEYSTREAM_H_

#include <cstddef>
#include <cstdint>

namespace spravka {

// The 32-bit linear congruential generator behind every scrambling of the
// base format and behind new base stamps.
class Keystream {
 public:
  explicit Keystream(uint32_t seed) : state_(seed) {}

  // Advances the state and returns a value in 0..range-1 (the upper half of
  // the 64-bit product of the new state and the range).
  uint32_t Next(uint32_t range) {
    state_ = state_ * 0x08088405u + 1u;
    return static_cast<uint32_t>((uint64_t{state_} * range) >> 32);
  }

  uint32_t state() const { return state_; }

 private:
  uint32_t state_;
};

constexpr uint32_t kHeaderSeed = 0x6B1D;
constexpr uint32_t kHomeStreamSeed = 0xC5;
constexpr uint32_t kOrgStreamSeed = 0x9D;
constexpr uint8_t kChangeMaskByte = 0xD3;

// Each of these is its own inverse.
// Header: bytes 1..734 of the 736 XORed with values for range 239.
void ScrambleHeader(uint8_t* header);
// Residential stream: every (length/97)-th byte from the 20th (1-based) on.
void ScrambleHomeStream(uint8_t* stream, size_t length);
// Organisation stream: every (length/137)-th byte from the 22nd on.
void ScrambleOrgStream(uint8_t* stream, size_t length);
// Change stream: every 7th byte from the 20th on, XOR with a constant.
void MaskChangeStream(uint8_t* stream, size_t length);

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_KEYSTREAM_H_
