#ifndef SPRAVKA_STORAGE_ZLIB_CODEC_H_
#define SPRAVKA_STORAGE_ZLIB_CODEC_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace spravka {

// A whole buffer into one zlib stream at level 9.
std::string Compress(std::string_view data);

// Inflates `stream` into exactly `size` bytes at `out`. False when the
// stream is damaged, ends early, or needs more room.
bool InflateExact(std::string_view stream, char* out, size_t size);

// Inflates `stream` into a buffer that starts at `size_hint` bytes and
// grows as needed. False when the stream is damaged or incomplete.
bool InflateGrowing(std::string_view stream, size_t size_hint, std::string* out);

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_ZLIB_CODEC_H_
