// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/literal_probe.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
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

// How many record bytes the first `to` bytes of a word consume.
size_t Consumed(std::string_view word, bool universal, size_t to) {
  size_t consumed = 0;
  for (size_t i = 0; i < to && i < word.size(); ++i) {
    consumed += !(word[i] == '$' && !(universal && i == 0));
  }
  return consumed;
}

uint8_t MaskFor(uint8_t b) { return b >= 0xE0 ? 0x20 : 0; }

bool Passes(uint8_t c, const ProbeByte& b) {
  return (c | b.mask) == b.byte || (b.or_yo && (c | 0x10) == kSmallYo);
}

// A probe for these literals, with a third byte when `third`, and how
// often it would hit (per 10^8 positions, roughly); none when every literal
// is an "е" that also finds "ё", which the pair cannot look for.
struct Candidate {
  LiteralProbe probe;
  uint64_t score = 0;
};
std::optional<Candidate> ProbeFor(const std::vector<Literal>& literals, bool yo,
                                  bool third) {
  const auto or_yo = [yo](const Literal& l) {
    return yo && l.byte == kSmallIe;
  };
  const auto make = [&](const Literal& l) {
    return ProbeByte{l.offset, l.byte, MaskFor(l.byte), or_yo(l)};
  };
  // The rarest literal at an offset not yet taken.
  std::vector<const Literal*> chosen;
  const auto rarest = [&](bool allow_yo) {
    const Literal* best = nullptr;
    for (const Literal& l : literals) {
      if (or_yo(l) && !allow_yo) continue;
      if (std::any_of(chosen.begin(), chosen.end(), [&](const Literal* c) {
            return c->offset == l.offset;
          })) {
        continue;
      }
      if (best == nullptr || Frequency(l.byte) < Frequency(best->byte)) {
        best = &l;
      }
    }
    return best;
  };
  for (int i = 0; i < 2; ++i) {
    if (const Literal* l = rarest(false)) chosen.push_back(l);
  }
  if (chosen.empty()) return std::nullopt;
  Candidate c;
  // A single byte scores as if paired with a byte found everywhere.
  c.score = uint64_t{Frequency(chosen[0]->byte)} *
            (chosen.size() > 1 ? Frequency(chosen[1]->byte) : 10000);
  if (chosen.size() > 1 && chosen[1]->offset < chosen[0]->offset) {
    std::swap(chosen[0], chosen[1]);
  }
  for (const Literal* l : chosen) c.probe.pair.push_back(make(*l));
  if (third) {
    if (const Literal* l = rarest(true)) {
      c.probe.third = make(*l);
      c.score = c.score * (Frequency(l->byte) + (or_yo(*l) ? 10 : 0)) / 10000;
    }
  }
  for (const Literal& l : literals) c.probe.literals.push_back(make(l));
  return c;
}

// Whether the whole literal group can stand from x on.
bool Fits(const LiteralProbe& probe, const uint8_t* data, size_t x, size_t lo,
          size_t hi) {
  if (x < lo || x + probe.literals.back().offset > hi) return false;
  for (const ProbeByte& b : probe.literals) {
    if (!Passes(data[x + b.offset], b)) return false;
  }
  return true;
}

// For a piece of a word that may hold a slip that stands from x: whether
// the whole word can stand around it (a slip before the piece moves the
// word's start by a byte at most). Decided on a copy of the bytes around
// x, closed by 0x1F, so that nothing beyond data[lo .. hi] is read whatever
// the table holds; a placement across the end of a record may pass, which
// the record's own match then refuses.
bool WordAround(const LiteralProbe& p, const uint8_t* data, size_t x, size_t lo,
                size_t hi) {
  constexpr size_t kRoom = 256;
  const SlipWord& word = *p.slip_word;
  if (word.size() + 8 > kRoom) return true;  // the record's match decides
  const auto start =
      static_cast<ptrdiff_t>(x) - static_cast<ptrdiff_t>(p.piece_offset);
  const size_t first = static_cast<size_t>(
      std::max<ptrdiff_t>(start - 1, static_cast<ptrdiff_t>(lo)));
  const auto last = static_cast<size_t>(start + 1);
  if (start + 1 < static_cast<ptrdiff_t>(lo) || first > hi) return false;
  if (last + 1 <= hi && !word.MayStartIn(data + first, data + last)) {
    return false;
  }
  // A placement reads at most the word's length and two more bytes.
  const size_t end = std::min(hi, last + word.size() + 2);
  uint8_t copy[kRoom];
  std::copy(data + first, data + end + 1, copy);
  copy[end - first + 1] = kRecordEnd;
  return word.FitsFrom(copy, copy + (std::min(last, end) - first));
}

#if defined(__SSE2__)
// Sixteen record bytes tested against one probe byte, loosely: (c | 0x20) ==
// (byte | 0x20). For а–я that is the test itself; for other bytes it lets
// a few more through (Fits then tests exactly). One mask for all bytes
// leaves the registers to the bytes.
struct WideByte {
  explicit WideByte(const ProbeByte& b)
      : offset(b.offset),
        byte(_mm_set1_epi8(static_cast<char>(b.byte | 0x20))) {}
  __m128i Test(const uint8_t* at, __m128i fold) const {
    const __m128i v =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + offset));
    return _mm_cmpeq_epi8(_mm_or_si128(v, fold), byte);
  }
  size_t offset;
  __m128i byte;
};

// The same, and with `or_yo` also ё and Ё: (c | 0x10) == 0xB8. For any
// other byte the second test compares with 0, which c | 0x10 never is.
struct WideThird {
  explicit WideThird(const ProbeByte& b)
      : plain(b),
        yo(_mm_set1_epi8(static_cast<char>(b.or_yo ? kSmallYo : 0))) {}
  __m128i Test(const uint8_t* at, __m128i fold) const {
    const __m128i v =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + plain.offset));
    return _mm_or_si128(
        _mm_cmpeq_epi8(_mm_or_si128(v, fold), plain.byte),
        _mm_cmpeq_epi8(_mm_or_si128(v, _mm_set1_epi8(0x10)), yo));
  }
  WideByte plain;
  __m128i yo;
};

// The bits of the 64 positions from x whose 16-byte hit masks are given.
uint64_t Bits(__m128i h0, __m128i h1, __m128i h2, __m128i h3) {
  return uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(h0))} |
         uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(h1))} << 16 |
         uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(h2))} << 32 |
         uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(h3))} << 48;
}
#endif

// The farthest offset a probe's many-at-a-time test reads.
size_t Reach(const LiteralProbe& p) {
  size_t reach = std::max(p.pair.front().offset, p.pair.back().offset);
  if (p.third) reach = std::max(reach, p.third->offset);
  return reach;
}

// One probe: its pair looked for 64 positions at a time.
size_t FindOne(const LiteralProbe& p, const uint8_t* data, size_t from,
               size_t to, size_t lo, size_t hi) {
  const size_t reach = Reach(p);
  size_t x = from;
#if defined(__SSE2__)
  const __m128i fold = _mm_set1_epi8(0x20);
  const WideByte a(p.pair.front()), b(p.pair.back());
  const auto pair = [&](const uint8_t* at) {
    return _mm_and_si128(a.Test(at, fold), b.Test(at, fold));
  };
  // Blocks of 64 positions while every test of the last one reads no
  // further than hi.
  const size_t blocks_to = hi >= 63 + reach ? std::min(to, hi - reach + 1) : 0;
  for (; x + 64 <= blocks_to; x += 64) {
    const uint8_t* at = data + x;
    const __m128i h0 = pair(at), h1 = pair(at + 16), h2 = pair(at + 32),
                  h3 = pair(at + 48);
    if (_mm_movemask_epi8(
            _mm_or_si128(_mm_or_si128(h0, h1), _mm_or_si128(h2, h3))) == 0) {
      continue;
    }
    for (uint64_t bits = Bits(h0, h1, h2, h3); bits != 0; bits &= bits - 1) {
      const size_t hit = x + static_cast<size_t>(std::countr_zero(bits));
      if (Fits(p, data, hit, lo, hi)) return hit;
    }
  }
#endif
  for (; x < to; ++x) {
    if (x + reach <= hi && Fits(p, data, x, lo, hi)) return x;
  }
  return to;
}

// The two pieces of a word that may hold a slip: both pairs looked for 64
// positions at a time, the third bytes where a pair stands, and the word
// around a piece that stands.
size_t FindPieces(const ProbeSet& set, const uint8_t* data, size_t from,
                  size_t to, size_t lo, size_t hi) {
  const LiteralProbe& p = set.any[0];
  const LiteralProbe& q = set.any[1];
  const auto stands = [&](const LiteralProbe& piece, size_t at) {
    return Fits(piece, data, at, lo, hi) && WordAround(piece, data, at, lo, hi);
  };
  const size_t reach = std::max(Reach(p), Reach(q));
  size_t x = from;
#if defined(__SSE2__)
  const __m128i fold = _mm_set1_epi8(0x20);
  const WideByte p0(p.pair.front()), p1(p.pair.back());
  const WideByte q0(q.pair.front()), q1(q.pair.back());
  const WideThird p2(p.third ? *p.third : p.pair.front());
  const WideThird q2(q.third ? *q.third : q.pair.front());
  // Where a pair stands, with the third byte too.
  const auto triples = [&](const uint8_t* at, __m128i hp, __m128i hq) {
    return _mm_or_si128(_mm_and_si128(hp, p2.Test(at, fold)),
                        _mm_and_si128(hq, q2.Test(at, fold)));
  };
  // Blocks of 64 positions while every test of the last one reads no
  // further than hi.
  const size_t blocks_to = hi >= 63 + reach ? std::min(to, hi - reach + 1) : 0;
  for (; x + 64 <= blocks_to; x += 64) {
    const uint8_t* at = data + x;
    const __m128i p_0 = _mm_and_si128(p0.Test(at, fold), p1.Test(at, fold));
    const __m128i q_0 = _mm_and_si128(q0.Test(at, fold), q1.Test(at, fold));
    const __m128i p_1 =
        _mm_and_si128(p0.Test(at + 16, fold), p1.Test(at + 16, fold));
    const __m128i q_1 =
        _mm_and_si128(q0.Test(at + 16, fold), q1.Test(at + 16, fold));
    const __m128i p_2 =
        _mm_and_si128(p0.Test(at + 32, fold), p1.Test(at + 32, fold));
    const __m128i q_2 =
        _mm_and_si128(q0.Test(at + 32, fold), q1.Test(at + 32, fold));
    const __m128i p_3 =
        _mm_and_si128(p0.Test(at + 48, fold), p1.Test(at + 48, fold));
    const __m128i q_3 =
        _mm_and_si128(q0.Test(at + 48, fold), q1.Test(at + 48, fold));
    const __m128i any = _mm_or_si128(
        _mm_or_si128(_mm_or_si128(p_0, q_0), _mm_or_si128(p_1, q_1)),
        _mm_or_si128(_mm_or_si128(p_2, q_2), _mm_or_si128(p_3, q_3)));
    if (_mm_movemask_epi8(any) == 0) continue;
    for (uint64_t bits =
             Bits(triples(at, p_0, q_0), triples(at + 16, p_1, q_1),
                  triples(at + 32, p_2, q_2), triples(at + 48, p_3, q_3));
         bits != 0; bits &= bits - 1) {
      const size_t hit = x + static_cast<size_t>(std::countr_zero(bits));
      if (stands(p, hit) || stands(q, hit)) return hit;
    }
  }
#endif
  for (; x < to; ++x) {
    if ((x + Reach(p) <= hi && stands(p, x)) ||
        (x + Reach(q) <= hi && stands(q, x))) {
      return x;
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
        // Pieces are short and common: each has a third byte tested too.
        const auto before =
            ProbeFor(LiteralsIn(word, universal, 0, gap), options.yo, true);
        const auto after =
            ProbeFor(LiteralsIn(word, universal, gap + 1, word.size()),
                     options.yo, true);
        if (!before || !after) continue;
        const uint64_t score = before->score + after->score;
        if (score >= best_score) continue;
        best_score = score;
        best.any = {before->probe, after->probe};
        const auto whole =
            std::make_shared<const SlipWord>(word, universal, options.yo);
        for (LiteralProbe& piece : best.any) piece.slip_word = whole;
        best.any[1].piece_offset = Consumed(word, universal, gap + 1);
      }
      continue;
    }
    const auto whole = ProbeFor(LiteralsIn(word, universal, 0, word.size()),
                                options.yo, false);
    if (!whole || whole->score >= best_score) continue;
    best_score = whole->score;
    best.any = {whole->probe};
  }
  return best;
}

size_t FindProbe(const ProbeSet& probes, const uint8_t* data, size_t from,
                 size_t to, size_t lo, size_t hi) {
  if (probes.any.empty()) return from;  // every position may hold a match
  if (probes.any.size() == 1) {
    return FindOne(probes.any.front(), data, from, to, lo, hi);
  }
  return FindPieces(probes, data, from, to, lo, hi);
}

}  // namespace spravka
