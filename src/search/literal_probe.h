#ifndef SPRAVKA_SEARCH_LITERAL_PROBE_H_
#define SPRAVKA_SEARCH_LITERAL_PROBE_H_

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace spravka {

// A byte test that every record matching a pattern passes somewhere in its
// text: one literal byte of a keyword or item, or two of the same keyword or
// item at their distance. The rarest bytes are chosen, so that a scan can
// leap over the records that cannot match and confirm only the rest.
struct LiteralProbe {
  int bytes = 0;  // 0: the pattern has no literal byte; 1 or 2
  // A record byte c passes when (c | mask) == byte: the mask 0x20 lets а–я
  // also meet А–Я.
  uint8_t first = 0, first_mask = 0;
  uint8_t second = 0, second_mask = 0;
  size_t distance = 0;  // of the second byte behind the first
};

LiteralProbe ChooseProbe(std::string_view pattern, bool universal);

// The first x in [from, to) where data[x] passes the first byte and
// data[x + distance] the second, or `to`. Reads data[from .. to - 1 +
// distance] only.
size_t FindProbe(const LiteralProbe& probe, const uint8_t* data, size_t from,
                 size_t to);

}  // namespace spravka

#endif  // SPRAVKA_SEARCH_LITERAL_PROBE_H_
