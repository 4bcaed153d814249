// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/base_section.h"

#include <libdeflate.h>

#include <memory>
#include <new>

namespace spravka {

bool InflateSection(std::string_view stream, char* out, size_t size) {
  // Whole-buffer inflating into the exact room: without a count to return,
  // libdeflate refuses a stream that fills less (LIBDEFLATE_SHORT_OUTPUT)
  // or needs more (LIBDEFLATE_INSUFFICIENT_SPACE), as it refuses bad data.
  struct Free {
    void operator()(libdeflate_decompressor* d) const {
      libdeflate_free_decompressor(d);
    }
  };
  const std::unique_ptr<libdeflate_decompressor, Free> inflater(
      libdeflate_alloc_decompressor());
  if (!inflater) throw std::bad_alloc();
  return libdeflate_zlib_decompress(inflater.get(), stream.data(),
                                    stream.size(), out, size,
                                    nullptr) == LIBDEFLATE_SUCCESS;
}

}  // namespace spravka
