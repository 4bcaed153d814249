// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_ZLIB_CODEC_H_
#define SPRAVKA_STORAGE_ZLIB_CODEC_H_

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace spravka {

// A whole buffer into one zlib stream at level 9.
std::string Compress(std::string_view data);

// The same stream made from pieces given one after another: the output
// grows as it is made, so only the compressed bytes are ever held.
class Compressor {
 public:
  Compressor();
  Compressor(const Compressor&) = delete;
  Compressor& operator=(const Compressor&) = delete;
  ~Compressor();

  void Add(std::string_view piece);
  // The whole stream; the compressor is spent.
  std::string Finish();

 private:
  void Run(int flush);

  struct State;
  std::unique_ptr<State> state_;
  std::string out_;
};

// Inflates `stream` into exactly `size` bytes at `out`. False when the
// stream is damaged, ends early, or needs more room.
bool InflateExact(std::string_view stream, char* out, size_t size);

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
