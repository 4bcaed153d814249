// SPDX-License-Identifier: GPL-3.0-or-later
// Any stream and stated length: libdeflate, which inflates the table
// sections, gives zlib's verdict and zlib's text, so that no base loads
// now that did not load before and none fails that did.
#include <string>

#include "fuzz_input.h"
#include "storage/base_section.h"
#include "storage/zlib_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace spravka;
  using namespace spravka::fuzzing;
  FuzzInput input(data, size);
  const uint8_t mode = input.Byte();
  const uint8_t amount = input.Byte();
  const std::string stream(input.Rest());

  // The length zlib inflates the stream to, when it does.
  size_t inflated = 0;
  const bool whole = InflatePieces(
      stream, 4096,
      [&inflated](std::string_view piece) { inflated += piece.size(); });
  size_t stated = 0;
  switch (mode % 4) {
    case 0:
      stated = inflated;
      break;
    case 1:
      stated = inflated + amount % 9 - std::min<size_t>(inflated, 4);
      break;
    case 2:
      stated = size_t{amount} * 37;
      break;
    default:
      stated = 0;
  }
  std::string by_zlib(stated, '\0');
  std::string by_libdeflate(stated, '\0');
  const bool zlib_ok = InflateExact(stream, by_zlib.data(), stated);
  const bool libdeflate_ok =
      InflateSection(stream, by_libdeflate.data(), stated);
  Expect(libdeflate_ok == zlib_ok, "libdeflate and zlib disagree on a stream");
  Expect(!zlib_ok || by_libdeflate == by_zlib,
         "libdeflate and zlib inflate differently");
  Expect(!zlib_ok || (whole && inflated == stated),
         "exact inflating disagrees with pieces");
  return 0;
}
