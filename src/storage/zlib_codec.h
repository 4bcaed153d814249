// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_ZLIB_CODEC_H_
#define SPRAVKA_STORAGE_ZLIB_CODEC_H_

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "storage/byte_buffer.h"

namespace spravka {

// The two bytes that open a zlib stream written at the maximum level, as
// every stream of a base file opens.
constexpr unsigned char kZlibMaxLevelHeader[2] = {0x78, 0xDA};

// A whole buffer into one zlib stream that opens with kZlibMaxLevelHeader
// and is no larger than zlib's level 9 makes it from table texts: with
// libdeflate where the build found it (about 2.5 times as fast), with zlib's
// level 9 where it did not.
// From kCompressPiecesFromBytes on, the text is compressed in two pieces
// side by side where libdeflate compresses.
std::string Compress(std::string_view data);
constexpr size_t kCompressPiecesFromBytes = size_t{4} << 20;

// Lets a second raw deflate stream follow `stream`, one whole raw deflate
// stream, so that the two inflate as one: clears the final-block bit of its
// last block and appends an empty stored block, which ends on a byte
// boundary (at most 5 bytes). This is how pieces of a text compressed side
// by side become one stream. False, changing nothing, when `stream` is not
// one whole raw deflate stream.
bool ContinueRawDeflate(ByteBuffer* stream);

// Compresses a text handed over a piece at a time into one zlib stream
// that opens with kZlibMaxLevelHeader, appended to `out` as it grows, so
// that the text is never held whole. zlib's level 6: on change streams as
// small as its level 9 and twice as fast. `text_size`, when given, is at
// least the length of the whole text.
class PieceCompressor {
 public:
  explicit PieceCompressor(std::string* out, size_t text_size = 0);
  ~PieceCompressor();
  PieceCompressor(const PieceCompressor&) = delete;
  PieceCompressor& operator=(const PieceCompressor&) = delete;

  void Add(std::string_view piece);
  // Ends the stream; nothing is added after it.
  void Finish();

 private:
  void Pump(std::string_view piece, int flush);

  struct State;
  std::unique_ptr<State> state_;
  std::string& out_;
  size_t start_;  // where the stream begins in out_
};

// Inflates `stream` into exactly `size` bytes at `out`. False when the
// stream is damaged, ends early, or needs more room. `trailing`, when
// given, counts the bytes of `stream` after the end of the zlib stream.
bool InflateExact(std::string_view stream, char* out, size_t size,
                  size_t* trailing = nullptr);

// Inflates `stream` a piece at a time into a buffer of `piece_size` bytes,
// handing every filled piece (and the last, shorter one) to `consume`, so
// that nothing holds the whole output. False when the stream is damaged or
// incomplete; the pieces consumed until then are not taken back.
// `trailing`, when given, counts the bytes of `stream` after the end of a
// whole zlib stream.
bool InflatePieces(std::string_view stream, size_t piece_size,
                   const std::function<void(std::string_view)>& consume,
                   size_t* trailing = nullptr);

// The same, stopping as soon as `consume` returns false.
enum class InflateEnd { kWhole, kDamaged, kStopped };
InflateEnd InflatePiecesWhile(
    std::string_view stream, size_t piece_size,
    const std::function<bool(std::string_view)>& consume);

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_ZLIB_CODEC_H_
