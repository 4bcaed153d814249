// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/pattern_cover.h"

#include <string>
#include <vector>

#include "search/slip_match.h"
#include "search/text_fold.h"
#include "storage/record_table.h"

namespace spravka {
namespace {

// Text up to the closing 0x1F, or nothing when it has none.
bool Body(std::string_view pattern, std::string_view* body) {
  const size_t end = pattern.find(static_cast<char>(kRecordEnd));
  if (end == std::string_view::npos) return false;
  *body = pattern.substr(0, end);
  return true;
}

// A keyword or item text as the bytes it consumes, and whether it may hold
// a slip.
struct Word {
  std::string text;
  bool slip = false;
};

// How the two patterns compare.
struct Sides {
  bool cached_yo = false;
  bool new_yo = false;
};

// Whether a cached byte certainly matches whatever record byte the new
// pattern's byte matched: a cached "?" matches anything, unless the new
// byte is a letter that a slip may have moved; a cached literal only the
// same literal (a new "?" may have matched any byte), and a new "е" that
// also finds "ё" only when the cached one does too.
bool ByteCovers(char cached, char next, const Sides& sides, bool slip) {
  const auto w = static_cast<uint8_t>(cached);
  const auto g = static_cast<uint8_t>(next);
  if (w == '?') return !(slip && IsLetter(g));
  if (g == '?') return false;
  if (w == g) return g != kSmallIe || !sides.new_yo || sides.cached_yo;
  return sides.cached_yo && w == kSmallIe && g == kSmallYo;
}

// Whether cached word w covers new word g at offset `at`.
bool CoversAt(const Word& w, const Word& g, size_t at, const Sides& sides) {
  if (g.slip && !w.slip) return false;  // the slip may fall inside w
  for (size_t i = 0; i < w.text.size(); ++i) {
    if (!ByteCovers(w.text[i], g.text[at + i], sides, g.slip)) return false;
  }
  return true;
}

// --- Universal mode -------------------------------------------------------

// The keywords of a universal pattern as the bytes they consume: a "$"
// after the first byte of a keyword tests the next byte without consuming
// it, so it is left out; a "$" in first place is an ordinary byte.
std::vector<Word> ConsumedKeywords(std::string_view body, bool slip) {
  std::vector<Word> keywords;
  size_t i = 0;
  while (i < body.size()) {
    if (static_cast<uint8_t>(body[i]) < 0x21) {
      ++i;
      continue;
    }
    const size_t begin = i;
    Word keyword{std::string(1, body[i++])};
    for (; i < body.size() && static_cast<uint8_t>(body[i]) >= 0x21; ++i) {
      if (body[i] != '$') keyword.text.push_back(body[i]);
    }
    keyword.slip = slip && MaySlip(body.substr(begin, i - begin));
    keywords.push_back(std::move(keyword));
  }
  return keywords;
}

// The cached keywords, in order and without overlap, each inside one new
// keyword. Leftmost placement is as good as any, as a keyword without "$"
// always spans its own length (a slip in the new one shifts the rest of it
// by at most one byte, which a cached keyword that may hold a slip takes).
bool KeywordsCover(std::string_view cached_body, const MatchOptions& cached,
                   std::string_view new_body, const MatchOptions& next,
                   const Sides& sides) {
  const std::vector<Word> wanted = ConsumedKeywords(cached_body, cached.slip);
  const std::vector<Word> given = ConsumedKeywords(new_body, next.slip);
  size_t k = 0;    // the new keyword searched
  size_t pos = 0;  // the first free byte in it
  for (const Word& w : wanted) {
    for (;; ++k, pos = 0) {
      if (k == given.size()) return false;
      const Word& g = given[k];
      bool found = false;
      for (; pos + w.text.size() <= g.text.size(); ++pos) {
        if (CoversAt(w, g, pos, sides)) {
          found = true;
          break;
        }
      }
      if (found) {
        pos += w.text.size();
        break;
      }
    }
  }
  return true;
}

// --- Detailed mode --------------------------------------------------------

struct PatternItem {
  uint8_t tag = 0;
  uint8_t mode = 0;
  Word word;  // as consumed: every "$" left out
};

bool ParseItems(std::string_view body, bool slip,
                std::vector<PatternItem>* items) {
  size_t i = 0;
  while (i < body.size()) {
    if (i + 1 >= body.size()) return false;
    PatternItem item;
    item.tag = static_cast<uint8_t>(body[i]);
    item.mode = static_cast<uint8_t>(body[i + 1]);
    if (item.mode != kPrefixItem && item.mode != kSubstringItem) return false;
    const size_t begin = i + 2;
    for (i += 2; i < body.size() && static_cast<uint8_t>(body[i]) >= 0x20;
         ++i) {
      if (body[i] != '$') item.word.text.push_back(body[i]);
    }
    item.word.slip = slip && MaySlip(body.substr(begin, i - begin));
    items->push_back(std::move(item));
  }
  return true;
}

bool ItemCovers(const PatternItem& cached, const PatternItem& next,
                const Sides& sides) {
  const std::string& t = cached.word.text;
  const std::string& s = next.word.text;
  if (t.size() > s.size()) return false;
  if (cached.mode == kPrefixItem) {
    // Both test the same first bytes of the field.
    return next.mode == kPrefixItem &&
           CoversAt(cached.word, next.word, 0, sides);
  }
  // A cached substring inside the new text, with no "?" of the new text up
  // to its end: then the new match lies inside the field, and the cached
  // search meets no field end before it finds its own.
  const size_t wild = s.find('?');
  const size_t limit = wild == std::string::npos ? s.size() : wild;
  for (size_t o = 0; o + t.size() <= limit; ++o) {
    if (CoversAt(cached.word, next.word, o, sides)) return true;
  }
  return false;
}

bool ItemsCover(std::string_view cached_body, const MatchOptions& cached,
                std::string_view new_body, const MatchOptions& next,
                const Sides& sides) {
  std::vector<PatternItem> wanted, given;
  if (!ParseItems(cached_body, cached.slip, &wanted) ||
      !ParseItems(new_body, next.slip, &given)) {
    return false;
  }
  for (const PatternItem& w : wanted) {
    const PatternItem* match = nullptr;
    for (const PatternItem& g : given) {
      if (g.tag == w.tag) {
        match = &g;
        break;
      }
    }
    if (match == nullptr || !ItemCovers(w, *match, sides)) return false;
  }
  return true;
}

}  // namespace

bool PatternCovers(std::string_view cached, const MatchOptions& cached_options,
                   std::string_view pattern, const MatchOptions& options) {
  if (cached_options.universal != options.universal) return false;
  std::string_view cached_body, new_body;
  if (!Body(cached, &cached_body) || !Body(pattern, &new_body)) return false;
  // A word end in the cached pattern excludes records the new one may want.
  if (cached_body.find('$') != std::string_view::npos) return false;
  const Sides sides{.cached_yo = cached_options.yo, .new_yo = options.yo};
  return options.universal ? KeywordsCover(cached_body, cached_options,
                                           new_body, options, sides)
                           : ItemsCover(cached_body, cached_options, new_body,
                                        options, sides);
}

bool PatternCovers(std::string_view cached, std::string_view pattern,
                   bool universal) {
  const MatchOptions exact{.universal = universal};
  return PatternCovers(cached, exact, pattern, exact);
}

}  // namespace spravka
