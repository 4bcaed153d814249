// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/literal_probe.h"

#include <algorithm>
#include <array>
#include <bit>
#include <optional>
#include <utility>
#include <vector>

#include "search/slip_match.h"
#include "search/text_fold.h"
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
  size_t offset;  // consumed bytes before it in its piece
  uint8_t byte;
};

// The keywords (universal) or item texts (detailed) of a pattern.
std::vector<std::string_view> WordsOf(std::string_view pattern,
                                      bool universal) {
  std::vector<std::string_view> words;
  const size_t end = pattern.find(static_cast<char>(kRecordEnd));
  if (end != std::string_view::npos) pattern = pattern.substr(0, end);
  const uint8_t stop = universal ? 0x21 : 0x20;
  size_t i = 0;
  while (i < pattern.size()) {
    if (universal) {
      if (static_cast<uint8_t>(pattern[i]) < stop) {
        ++i;
        continue;
      }
    } else {
      i += 2;  // tag and mode byte
    }
    const size_t begin = std::min(i, pattern.size());
    while (i < pattern.size() && static_cast<uint8_t>(pattern[i]) >= stop) ++i;
    words.push_back(pattern.substr(begin, i - begin));
  }
  return words;
}

// The literal bytes of bytes [from, to) of a word, at their offsets from
// `from`: not "?", and not a "$" that tests a word end ("$" first in a
// keyword is an ordinary byte; in an item it is always a word end).
std::vector<Literal> LiteralsIn(std::string_view word, bool universal,
                                size_t from, size_t to) {
  std::vector<Literal> literals;
  size_t offset = 0;
  size_t base = 0;
  for (size_t i = 0; i < word.size() && i < to; ++i) {
    if (i == from) base = offset;
    const uint8_t b = static_cast<uint8_t>(word[i]);
    if (b == '$' && !(universal && i == 0)) continue;  // consumes nothing
    if (b != '?' && i >= from) literals.push_back({offset - base, b});
    ++offset;
  }
  return literals;
}

uint8_t MaskFor(uint8_t b) { return b >= 0xE0 ? 0x20 : 0; }

bool Passes(uint8_t c, const ProbeByte& b) {
  return (c | b.mask) == b.byte || (b.or_yo && (c | 0x10) == kSmallYo);
}

// A probe for these literals, and how often it would hit (per 10^8
// positions, roughly); none when every literal is an "е" that also finds
// "ё", which the many-at-a-time test cannot look for.
struct Candidate {
  LiteralProbe probe;
  uint64_t score = 0;
};
std::optional<Candidate> ProbeFor(const std::vector<Literal>& literals,
                                  bool yo) {
  const auto or_yo = [yo](const Literal& l) {
    return yo && l.byte == kSmallIe;
  };
  // The two rarest bytes at different offsets.
  const Literal* a = nullptr;
  for (const Literal& l : literals) {
    if (or_yo(l)) continue;
    if (a == nullptr || Frequency(l.byte) < Frequency(a->byte)) a = &l;
  }
  if (a == nullptr) return std::nullopt;
  const Literal* b = nullptr;
  for (const Literal& l : literals) {
    if (or_yo(l) || l.offset == a->offset) continue;
    if (b == nullptr || Frequency(l.byte) < Frequency(b->byte)) b = &l;
  }
  Candidate c;
  // A single byte scores as if paired with a byte found everywhere.
  c.score = uint64_t{Frequency(a->byte)} *
            (b == nullptr ? 10000 : Frequency(b->byte));
  if (b == nullptr) b = a;
  if (b->offset < a->offset) std::swap(a, b);
  c.probe.bytes = a == b ? 1 : 2;
  c.probe.first = {a->offset, a->byte, MaskFor(a->byte)};
  c.probe.second = {b->offset, b->byte, MaskFor(b->byte)};
  for (const Literal& l : literals) {
    c.probe.literals.push_back({l.offset, l.byte, MaskFor(l.byte), or_yo(l)});
  }
  return c;
}

// Whether the whole literal group can stand with its first probe byte at x.
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

template <size_t N>
size_t FindAny(const std::vector<LiteralProbe>& probes, const uint8_t* data,
               size_t from, size_t to, size_t lo, size_t hi) {
  size_t x = from;
  std::array<size_t, N> d;
  size_t widest = 0;
  for (size_t k = 0; k < N; ++k) {
    d[k] = probes[k].second.offset - probes[k].first.offset;
    widest = std::max(widest, d[k]);
  }
#if defined(__SSE2__)
  __m128i first[N], first_mask[N], second[N], second_mask[N];
  for (size_t k = 0; k < N; ++k) {
    const LiteralProbe& p = probes[k];
    first[k] = _mm_set1_epi8(static_cast<char>(p.first.byte));
    first_mask[k] = _mm_set1_epi8(static_cast<char>(p.first.mask));
    second[k] = _mm_set1_epi8(static_cast<char>(p.second.byte));
    second_mask[k] = _mm_set1_epi8(static_cast<char>(p.second.mask));
  }
  auto hits = [&](size_t at) {
    const __m128i a =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
    __m128i h = _mm_setzero_si128();
    for (size_t k = 0; k < N; ++k) {
      const __m128i b =
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + d[k]));
      h = _mm_or_si128(
          h, _mm_and_si128(
                 _mm_cmpeq_epi8(_mm_or_si128(a, first_mask[k]), first[k]),
                 _mm_cmpeq_epi8(_mm_or_si128(b, second_mask[k]), second[k])));
    }
    return h;
  };
  for (; x + 64 <= to && x + 63 + widest <= hi; x += 64) {
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
      for (size_t k = 0; k < N; ++k) {
        if (Fits(probes[k], data, hit, lo, hi)) return hit;
      }
    }
  }
#endif
  for (; x < to; ++x) {
    for (size_t k = 0; k < N; ++k) {
      const LiteralProbe& p = probes[k];
      if (x + d[k] <= hi && Passes(data[x], p.first) &&
          Passes(data[x + d[k]], p.second) && Fits(p, data, x, lo, hi)) {
        return x;
      }
    }
  }
  return to;
}

}  // namespace

ProbeSet ChooseProbes(std::string_view pattern, const MatchOptions& options) {
  const bool universal = options.universal;
  ProbeSet best;
  uint64_t best_score = ~uint64_t{0};
  for (const std::string_view word : WordsOf(pattern, universal)) {
    if (options.slip && MaySlip(word) && word.size() >= 3) {
      // One slip spoils at most one side of a byte: the record holds the
      // bytes before it or those after it as typed. The split whose two
      // sides hit least often together.
      for (size_t gap = 1; gap + 1 < word.size(); ++gap) {
        const auto before =
            ProbeFor(LiteralsIn(word, universal, 0, gap), options.yo);
        const auto after = ProbeFor(
            LiteralsIn(word, universal, gap + 1, word.size()), options.yo);
        if (!before || !after) continue;
        const uint64_t score = before->score + after->score;
        if (score >= best_score) continue;
        best_score = score;
        best.any = {before->probe, after->probe};
      }
      continue;
    }
    const auto whole =
        ProbeFor(LiteralsIn(word, universal, 0, word.size()), options.yo);
    if (!whole || whole->score >= best_score) continue;
    best_score = whole->score;
    best.any = {whole->probe};
  }
  return best;
}

size_t FindProbe(const ProbeSet& probes, const uint8_t* data, size_t from,
                 size_t to, size_t lo, size_t hi) {
  switch (probes.any.size()) {
    case 1:
      return FindAny<1>(probes.any, data, from, to, lo, hi);
    case 2:
      return FindAny<2>(probes.any, data, from, to, lo, hi);
    default:
      return from;  // no probe: every position may hold a match
  }
}

}  // namespace spravka
