// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/zlib_codec.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>

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

struct PieceCompressor::State {
  z_stream z{};
};

PieceCompressor::PieceCompressor(std::string* out, size_t text_size)
    : state_(std::make_unique<State>()), out_(*out), start_(out->size()) {
  if (deflateInit(&state_->z, 6) != Z_OK) throw std::bad_alloc();
  // Room only reserved is not committed until written: reserving the most
  // the text can take spares the copies of a growing string.
  if (text_size > 0) {
    out_.reserve(out_.size() +
                 deflateBound(&state_->z, static_cast<uLong>(std::min<size_t>(
                                              text_size, ULONG_MAX))));
  }
}

PieceCompressor::~PieceCompressor() { deflateEnd(&state_->z); }

void PieceCompressor::Pump(std::string_view piece, int flush) {
  z_stream& z = state_->z;
  char buffer[64 * 1024];
  const char* next = piece.data();
  size_t left = piece.size();
  for (;;) {
    const size_t in = std::min<size_t>(left, UINT_MAX);
    const bool last = in == left;
    const int mode = last ? flush : Z_NO_FLUSH;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(next));
    z.avail_in = static_cast<uInt>(in);
    int rc = Z_OK;
    do {
      z.next_out = reinterpret_cast<Bytef*>(buffer);
      z.avail_out = sizeof buffer;
      rc = deflate(&z, mode);
      if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) {
        throw std::runtime_error("zlib deflate failed");
      }
      out_.append(buffer, sizeof buffer - z.avail_out);
    } while (z.avail_out == 0 || (mode == Z_FINISH && rc != Z_STREAM_END));
    next += in;
    left -= in;
    if (last) return;
  }
}

void PieceCompressor::Add(std::string_view piece) {
  if (!piece.empty()) Pump(piece, Z_NO_FLUSH);
}

void PieceCompressor::Finish() {
  Pump({}, Z_FINISH);
  // The header states the maximum level, as every stream of a base file
  // does; the level in a zlib header is a hint that no reader acts on.
  out_[start_ + 1] = static_cast<char>(kZlibMaxLevelHeader[1]);
}

bool ContinueRawDeflate(ByteBuffer* stream) {
  if (stream->empty() || stream->size() > UINT_MAX) return false;
  z_stream z{};
  if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return false;
  auto* const bytes = reinterpret_cast<Bytef*>(stream->data());
  z.next_in = bytes;
  z.avail_in = static_cast<uInt>(stream->size());
  // Inflating block by block finds where the last block's header lies:
  // its first bit is the final-block bit. The output itself is not needed.
  char scratch[64 * 1024];
  size_t last_block_byte = 0;
  unsigned last_block_bit = 0;
  unsigned unused_at_end = 0;
  int rc = Z_OK;
  for (;;) {
    z.next_out = reinterpret_cast<Bytef*>(scratch);
    z.avail_out = sizeof scratch;
    rc = inflate(&z, Z_BLOCK);
    if (rc == Z_STREAM_END) break;
    if (rc != Z_OK) break;
    if ((z.data_type & (128 | 64)) == (128 | 64)) {
      // The last block has ended: its unused bits are the padding, which
      // inflate no longer counts once it reports the stream's end.
      unused_at_end = static_cast<unsigned>(z.data_type) & 7;
    } else if (z.data_type & 128) {
      // At the end of a block that is not the last: the next header begins
      // after the unused bits of the last byte taken, or at the next byte
      // when there are none.
      const unsigned unused = static_cast<unsigned>(z.data_type) & 7;
      const size_t taken = static_cast<size_t>(z.next_in - bytes);
      if (unused == 0) {
        last_block_byte = taken;
        last_block_bit = 0;
      } else {
        last_block_byte = taken - 1;
        last_block_bit = 8 - unused;
      }
    }
  }
  const bool whole = rc == Z_STREAM_END && z.avail_in == 0;
  inflateEnd(&z);
  if (!whole || last_block_byte >= stream->size()) return false;

  bytes[last_block_byte] &= static_cast<Bytef>(~(1u << last_block_bit));
  const size_t end = stream->size();
  // The empty stored block: three header bits of 0 (not final, stored), up
  // to the byte boundary, then the lengths 0 and ~0. The header bits fit in
  // the last byte when at least three of its bits are unused, and are 0
  // there once the padding is cleared.
  bytes[end - 1] &= static_cast<Bytef>(0xFF >> unused_at_end);
  static constexpr char kEmptyStoredBlock[] = {'\0', '\0', '\0', '\xFF',
                                               '\xFF'};
  const size_t skip = unused_at_end >= 3 ? 1 : 0;
  stream->ResizeUninitialized(end + sizeof kEmptyStoredBlock - skip);
  std::memcpy(stream->data() + end, kEmptyStoredBlock + skip,
              sizeof kEmptyStoredBlock - skip);
  return true;
}

bool InflateExact(std::string_view stream, char* out, size_t size,
                  size_t* trailing) {
  Inflater inflater(stream);
  if (!inflater.ok()) return false;
  size_t produced = 0;
  int rc = inflater.Run(out, size, &produced);
  if (rc == Z_OK) {
    if (produced != size) return false;
    // All room used: the stream must end now, without a further byte.
    char extra;
    rc = inflater.Run(&extra, 1, &produced);
    if (produced != 0) return false;
  } else if (produced != size) {
    return false;
  }
  if (rc != Z_STREAM_END) return false;
  if (trailing) *trailing = inflater.Unread();
  return true;
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
