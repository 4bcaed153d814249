// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/base_section.h"

#include <libdeflate.h>

#include <memory>
#include <new>

namespace spravka {

namespace {

// Whole-buffer inflating into the exact room: without a count to return,
// libdeflate refuses a stream that fills less (LIBDEFLATE_SHORT_OUTPUT) or
// needs more (LIBDEFLATE_INSUFFICIENT_SPACE), as it refuses bad data.
// `*stream_size` becomes the length of the stream itself.
bool Inflate(std::string_view stream, char* out, size_t size,
             size_t* stream_size) {
  struct Free {
    void operator()(libdeflate_decompressor* d) const {
      libdeflate_free_decompressor(d);
    }
  };
  const std::unique_ptr<libdeflate_decompressor, Free> inflater(
      libdeflate_alloc_decompressor());
  if (!inflater) throw std::bad_alloc();
  return libdeflate_zlib_decompress_ex(inflater.get(), stream.data(),
                                       stream.size(), out, size, stream_size,
                                       nullptr) == LIBDEFLATE_SUCCESS;
}

}  // namespace

bool InflateSection(std::string_view stream, char* out, size_t size) {
  size_t stream_size = 0;
  return Inflate(stream, out, size, &stream_size);
}

bool InflateWholeSection(std::string_view stream, char* out, size_t size) {
  size_t stream_size = 0;
  return Inflate(stream, out, size, &stream_size) &&
         stream_size == stream.size();
}

}  // namespace spravka
