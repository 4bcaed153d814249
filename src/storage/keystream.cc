// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/keystream.h"

namespace spravka {
namespace {

// Positions are 1-based as in the format description: position i is byte
// i - 1. A step of 0 would never advance; such short streams stay as they
// are, for the writer and the reader alike.
void ScrambleStream(uint8_t* stream, size_t length, uint32_t seed,
                    size_t start, size_t divisor) {
  const size_t step = length / divisor;
  if (step == 0) return;
  Keystream keys(seed);
  for (size_t i = start; i < length; i += step) {
    stream[i - 1] ^= static_cast<uint8_t>(keys.Next(253));
  }
}

}  // namespace

void ScrambleHeader(uint8_t* header) {
  Keystream keys(kHeaderSeed);
  for (size_t i = 1; i <= 734; ++i) {
    header[i] ^= static_cast<uint8_t>(keys.Next(239));
  }
}

void ScrambleHomeStream(uint8_t* stream, size_t length) {
  ScrambleStream(stream, length, kHomeStreamSeed, 20, 97);
}

void ScrambleOrgStream(uint8_t* stream, size_t length) {
  ScrambleStream(stream, length, kOrgStreamSeed, 22, 137);
}

void MaskChangeStream(uint8_t* stream, size_t length) {
  for (size_t i = 20; i < length; i += 7) stream[i - 1] ^= kChangeMaskByte;
}

}  // namespace spravka
