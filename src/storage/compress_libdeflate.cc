// SPDX-License-Identifier: GPL-3.0-or-later
#include <libdeflate.h>
#include <zlib.h>

#include <cstdint>
#include <memory>
#include <new>
#include <stdexcept>

#include "storage/byte_buffer.h"
#include "storage/side_by_side.h"
#include "storage/zlib_codec.h"

namespace spravka {

namespace {

// The lowest libdeflate level whose streams are no larger than zlib's level
// 9 on table texts: level 6 is about 1% smaller and 2.5 times as fast;
// level 5 is larger on some towns.
constexpr int kLevel = 6;

// The first piece is the shorter: after compressing it, its thread reads
// it through once more to join it to the second (about a fifth of the time
// the compression took).
constexpr double kFirstPieceShare = 0.44;

struct FreeCompressor {
  void operator()(libdeflate_compressor* c) const {
    libdeflate_free_compressor(c);
  }
};
using Compressor = std::unique_ptr<libdeflate_compressor, FreeCompressor>;

Compressor NewCompressor() {
  Compressor compressor(libdeflate_alloc_compressor(kLevel));
  if (!compressor) throw std::bad_alloc();
  return compressor;
}

// `text` as one raw deflate stream. The bound is about the size of the
// text: room taken but not touched costs nothing, where a string would
// first fill it with zeros.
ByteBuffer Deflate(std::string_view text) {
  const Compressor compressor = NewCompressor();
  ByteBuffer out;
  out.ResizeUninitialized(
      libdeflate_deflate_compress_bound(compressor.get(), text.size()));
  const size_t size = libdeflate_deflate_compress(
      compressor.get(), text.data(), text.size(), out.data(), out.size());
  if (size == 0) throw std::runtime_error("libdeflate compression failed");
  out.ResizeUninitialized(size);
  return out;
}

uint32_t Adler32(std::string_view text) {
  return libdeflate_adler32(1, text.data(), text.size());
}

}  // namespace

std::string Compress(std::string_view data) {
  if (data.empty()) {
    // zlib's 8 bytes (an empty fixed-code block); libdeflate's stored block
    // would take 11.
    return std::string("\x78\xDA\x03\x00\x00\x00\x00\x01", 8);
  }
  // A zlib stream is a raw deflate stream between the header and the
  // text's Adler-32. Pieces compressed apart become one raw stream once
  // each but the last is made to continue. The second piece starts without
  // the first's history, which costs a few kilobytes of output: nothing
  // against a text this long.
  const size_t cut = data.size() < kCompressPiecesFromBytes
                         ? data.size()
                         : static_cast<size_t>(data.size() * kFirstPieceShare);
  const std::string_view first_text = data.substr(0, cut);
  const std::string_view second_text = data.substr(cut);
  ByteBuffer first;
  ByteBuffer second;
  uint32_t first_sum = 1;
  uint32_t second_sum = 1;
  const auto deflate_first = [&] {
    first = Deflate(first_text);
    first_sum = Adler32(first_text);
    if (!second_text.empty() && !ContinueRawDeflate(&first)) {
      throw std::runtime_error("libdeflate wrote an unreadable stream");
    }
  };
  const auto deflate_second = [&] {
    second = Deflate(second_text);
    second_sum = Adler32(second_text);
  };
  if (second_text.empty()) {
    deflate_first();
  } else {
    RunSideBySide(deflate_first, deflate_second);
  }
  const uint32_t sum = second_text.empty()
                           ? first_sum
                           : static_cast<uint32_t>(adler32_combine(
                                 first_sum, second_sum,
                                 static_cast<z_off_t>(second_text.size())));

  std::string out;
  ReserveLarge(&out, 2 + first.size() + second.size() + 4);
  // The header states the maximum level, as zlib's level 9 writes it; the
  // level in a zlib header is a hint that no reader acts on.
  out.append(reinterpret_cast<const char*>(kZlibMaxLevelHeader), 2);
  out.append(first.data(), first.size());
  out.append(second.data(), second.size());
  const char sum_bytes[4] = {
      static_cast<char>(sum >> 24), static_cast<char>(sum >> 16),
      static_cast<char>(sum >> 8), static_cast<char>(sum)};
  out.append(sum_bytes, 4);
  return out;
}

}  // namespace spravka
