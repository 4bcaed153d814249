// SPDX-License-Identifier: GPL-3.0-or-later
#include <zlib.h>

#include <stdexcept>

#include "storage/zlib_codec.h"

namespace spravka {

// Where libdeflate is not to be had, zlib compresses at its level 9.
std::string Compress(std::string_view data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::string out(size, '\0');
  const int rc = compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                           reinterpret_cast<const Bytef*>(data.data()),
                           static_cast<uLong>(data.size()), 9);
  if (rc != Z_OK) throw std::runtime_error("zlib compress2 failed");
  out.resize(size);
  return out;
}

}  // namespace spravka
