// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/literal_probe.h"

#include <array>
#include <bit>
#include <vector>

#include "storage/record_table.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace spravka {
namespace {

// Rough frequency of a (folded) byte in directory text, per ten thousand:
// surnames, initials, streets, house and flat numbers.
constexpr std::array<uint16_t, 32> kLetterFrequency = {
    600, 100, 400, 100, 150, 550, 40,  100, 550, 100, 250,
    300, 200, 450, 700, 100, 350, 300, 300, 150, 30,  50,
    40,  100, 50,  20,  5,   80,  80,  20,  30,  100};  // а..я

uint32_t Frequency(uint8_t b) {
  if (b >= 0xE0) return kLetterFrequency[b - 0xE0];
  if (b >= '0' && b <= '9') return 250;
  if (b == ' ' || b == '.') return 400;
  if (b == ',' || b == '-' || b == '/') return 30;
  return 10;
}

struct Literal {
  size_t offset;  // consumed bytes before it in its keyword or item
  uint8_t byte;
};

// The literal bytes of each keyword (universal) or item text (detailed):
// not "?", and not a "$" that tests a word end ("$" first in a keyword is
// an ordinary byte; in an item it is always a word end).
std::vector<std::vector<Literal>> LiteralsOf(std::string_view pattern,
                                             bool universal) {
  std::vector<std::vector<Literal>> groups;
  const size_t end = pattern.find(static_cast<char>(kRecordEnd));
  if (end != std::string_view::npos) pattern = pattern.substr(0, end);
  size_t i = 0;
  while (i < pattern.size()) {
    if (universal) {
      if (static_cast<uint8_t>(pattern[i]) < 0x21) {
        ++i;
        continue;
      }
    } else {
      i += 2;  // tag and mode byte
    }
    std::vector<Literal> group;
    const uint8_t stop = universal ? 0x21 : 0x20;
    size_t offset = 0;
    for (bool first = true;
         i < pattern.size() && static_cast<uint8_t>(pattern[i]) >= stop;
         ++i, first = false) {
      const uint8_t b = static_cast<uint8_t>(pattern[i]);
      if (b == '$' && !(universal && first)) continue;  // consumes nothing
      if (b != '?') group.push_back({offset, b});
      ++offset;
    }
    groups.push_back(std::move(group));
  }
  return groups;
}

uint8_t MaskFor(uint8_t b) { return b >= 0xE0 ? 0x20 : 0; }

bool Passes(uint8_t c, const ProbeByte& b) { return (c | b.mask) == b.byte; }

// Whether the whole keyword can stand with its first probe byte at x.
bool Fits(const LiteralProbe& probe, const uint8_t* data, size_t x, size_t lo,
          size_t hi) {
  if (x < lo + probe.first.offset) return false;
  const size_t start = x - probe.first.offset;
  if (start + probe.literals.back().offset > hi) return false;
  for (const ProbeByte& b : probe.literals) {
    if (!Passes(data[start + b.offset], b)) return false;
  }
  return true;
}

}  // namespace

LiteralProbe ChooseProbe(std::string_view pattern, bool universal) {
  LiteralProbe best;
  uint64_t best_score = ~uint64_t{0};
  for (const auto& group : LiteralsOf(pattern, universal)) {
    if (group.empty()) continue;
    // The two rarest bytes of the group at different offsets.
    const Literal* a = &group[0];
    for (const Literal& l : group) {
      if (Frequency(l.byte) < Frequency(a->byte)) a = &l;
    }
    const Literal* b = nullptr;
    for (const Literal& l : group) {
      if (l.offset == a->offset) continue;
      if (b == nullptr || Frequency(l.byte) < Frequency(b->byte)) b = &l;
    }
    // A single byte scores as if paired with a byte found everywhere.
    const uint64_t score = uint64_t{Frequency(a->byte)} *
                           (b == nullptr ? 10000 : Frequency(b->byte));
    if (score >= best_score) continue;
    best_score = score;
    if (b == nullptr) b = a;
    if (b->offset < a->offset) std::swap(a, b);
    best.bytes = a == b ? 1 : 2;
    best.first = {a->offset, a->byte, MaskFor(a->byte)};
    best.second = {b->offset, b->byte, MaskFor(b->byte)};
    best.literals.clear();
    for (const Literal& l : group) {
      best.literals.push_back({l.offset, l.byte, MaskFor(l.byte)});
    }
  }
  return best;
}

size_t FindProbe(const LiteralProbe& probe, const uint8_t* data, size_t from,
                 size_t to, size_t lo, size_t hi) {
  size_t x = from;
  const size_t d = probe.second.offset - probe.first.offset;
#if defined(__SSE2__)
  const __m128i first = _mm_set1_epi8(static_cast<char>(probe.first.byte));
  const __m128i first_mask = _mm_set1_epi8(static_cast<char>(probe.first.mask));
  const __m128i second = _mm_set1_epi8(static_cast<char>(probe.second.byte));
  const __m128i second_mask =
      _mm_set1_epi8(static_cast<char>(probe.second.mask));
  auto hits = [&](size_t at) {
    const __m128i a =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
    const __m128i b =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + d));
    return _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(a, first_mask), first),
                         _mm_cmpeq_epi8(_mm_or_si128(b, second_mask), second));
  };
  for (; x + 64 <= to; x += 64) {
    const __m128i h0 = hits(x), h1 = hits(x + 16), h2 = hits(x + 32),
                  h3 = hits(x + 48);
    const __m128i any =
        _mm_or_si128(_mm_or_si128(h0, h1), _mm_or_si128(h2, h3));
    if (_mm_movemask_epi8(any) == 0) continue;
    uint64_t bits =
        uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(h0))} |
        uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(h1))} << 16 |
        uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(h2))} << 32 |
        uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(h3))} << 48;
    for (; bits != 0; bits &= bits - 1) {
      const size_t hit = x + static_cast<size_t>(std::countr_zero(bits));
      if (Fits(probe, data, hit, lo, hi)) return hit;
    }
  }
#endif
  for (; x < to; ++x) {
    if (Passes(data[x], probe.first) && Passes(data[x + d], probe.second) &&
        Fits(probe, data, x, lo, hi)) {
      return x;
    }
  }
  return to;
}

}  // namespace spravka
