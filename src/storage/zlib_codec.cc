// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/zlib_codec.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <memory>

namespace spravka {

namespace {

// Feeds `stream` to an inflater in pieces that fit zlib's 32-bit counters.
class Inflater {
 public:
  explicit Inflater(std::string_view stream) : input_(stream) {
    ok_ = inflateInit(&z_) == Z_OK;
  }
  ~Inflater() {
    if (ok_) inflateEnd(&z_);
  }
  bool ok() const { return ok_; }
  // Input bytes not (yet) read by the inflater.
  size_t Unread() const { return input_.size() - consumed_ + z_.avail_in; }

  // Inflates into out[0..room); returns Z_STREAM_END, Z_OK (room used up or
  // input exhausted) or an error code. *produced counts bytes written.
  int Run(char* out, size_t room, size_t* produced) {
    *produced = 0;
    for (;;) {
      if (z_.avail_in == 0 && consumed_ < input_.size()) {
        const size_t piece =
            std::min<size_t>(input_.size() - consumed_, UINT_MAX);
        z_.next_in = reinterpret_cast<Bytef*>(
            const_cast<char*>(input_.data() + consumed_));
        z_.avail_in = static_cast<uInt>(piece);
        consumed_ += piece;
      }
      const size_t out_piece = std::min<size_t>(room - *produced, UINT_MAX);
      z_.next_out = reinterpret_cast<Bytef*>(out + *produced);
      z_.avail_out = static_cast<uInt>(out_piece);
      const int rc = inflate(&z_, Z_NO_FLUSH);
      *produced += out_piece - z_.avail_out;
      if (rc == Z_STREAM_END) return rc;
      if (rc != Z_OK && rc != Z_BUF_ERROR) return rc;
      if (*produced == room) return Z_OK;
      if (rc == Z_BUF_ERROR && z_.avail_in == 0 && consumed_ == input_.size()) {
        return Z_DATA_ERROR;  // the stream ends before its end marker
      }
    }
  }

 private:
  z_stream z_{};
  std::string_view input_;
  size_t consumed_ = 0;
  bool ok_ = false;
};

}  // namespace

bool InflateExact(std::string_view stream, char* out, size_t size) {
  Inflater inflater(stream);
  if (!inflater.ok()) return false;
  size_t produced = 0;
  int rc = inflater.Run(out, size, &produced);
  if (rc == Z_STREAM_END) return produced == size;
  if (rc != Z_OK) return false;
  // All room used: the stream must end now, without a further byte.
  char extra;
  rc = inflater.Run(&extra, 1, &produced);
  return rc == Z_STREAM_END && produced == 0;
}

InflateEnd InflatePiecesWhile(
    std::string_view stream, size_t piece_size,
    const std::function<bool(std::string_view)>& consume) {
  Inflater inflater(stream);
  if (!inflater.ok()) return InflateEnd::kDamaged;
  std::unique_ptr<char[]> piece(new char[piece_size]);
  for (;;) {
    size_t produced = 0;
    const int rc = inflater.Run(piece.get(), piece_size, &produced);
    if (rc != Z_STREAM_END && rc != Z_OK) return InflateEnd::kDamaged;
    if (produced > 0 && !consume(std::string_view(piece.get(), produced))) {
      return InflateEnd::kStopped;
    }
    if (rc == Z_STREAM_END) return InflateEnd::kWhole;
  }
}

bool InflatePieces(std::string_view stream, size_t piece_size,
                   const std::function<void(std::string_view)>& consume,
                   size_t* trailing) {
  Inflater inflater(stream);
  if (!inflater.ok()) return false;
  std::unique_ptr<char[]> piece(new char[piece_size]);
  for (;;) {
    size_t produced = 0;
    const int rc = inflater.Run(piece.get(), piece_size, &produced);
    if (rc != Z_STREAM_END && rc != Z_OK) return false;
    if (produced > 0) consume(std::string_view(piece.get(), produced));
    if (rc == Z_STREAM_END) {
      if (trailing) *trailing = inflater.Unread();
      return true;
    }
  }
}

}  // namespace spravka
