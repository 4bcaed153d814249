// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/pattern_cover.h"

#include <string>
#include <vector>

#include "search/match_record.h"
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

// Whether a cached byte certainly matches what the new pattern's byte
// matched: a cached "?" matches anything; a cached literal only the same
// literal (a new "?" may have matched any byte).
bool ByteCovers(char cached, char next) {
  return cached == '?' || (cached == next && next != '?');
}

// --- Universal mode -------------------------------------------------------

// The keywords of a universal pattern as the bytes they consume: a "$"
// after the first byte of a keyword tests the next byte without consuming
// it, so it is left out; a "$" in first place is an ordinary byte.
std::vector<std::string> ConsumedKeywords(std::string_view body) {
  std::vector<std::string> keywords;
  size_t i = 0;
  while (i < body.size()) {
    if (static_cast<uint8_t>(body[i]) < 0x21) {
      ++i;
      continue;
    }
    std::string keyword(1, body[i++]);
    for (; i < body.size() && static_cast<uint8_t>(body[i]) >= 0x21; ++i) {
      if (body[i] != '$') keyword.push_back(body[i]);
    }
    keywords.push_back(std::move(keyword));
  }
  return keywords;
}

// The cached keywords, in order and without overlap, each inside one new
// keyword. Leftmost placement is as good as any, as a keyword without "$"
// always spans its own length.
bool KeywordsCover(std::string_view cached_body, std::string_view new_body) {
  const std::vector<std::string> wanted = ConsumedKeywords(cached_body);
  const std::vector<std::string> given = ConsumedKeywords(new_body);
  size_t k = 0;    // the new keyword searched
  size_t pos = 0;  // the first free byte in it
  for (const std::string& w : wanted) {
    for (;; ++k, pos = 0) {
      if (k == given.size()) return false;
      const std::string& g = given[k];
      bool found = false;
      for (; pos + w.size() <= g.size(); ++pos) {
        size_t i = 0;
        while (i < w.size() && ByteCovers(w[i], g[pos + i])) ++i;
        if (i == w.size()) {
          found = true;
          break;
        }
      }
      if (found) {
        pos += w.size();
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
  std::string text;  // as consumed: every "$" left out
};

bool ParseItems(std::string_view body, std::vector<PatternItem>* items) {
  size_t i = 0;
  while (i < body.size()) {
    if (i + 1 >= body.size()) return false;
    PatternItem item;
    item.tag = static_cast<uint8_t>(body[i]);
    item.mode = static_cast<uint8_t>(body[i + 1]);
    if (item.mode != kPrefixItem && item.mode != kSubstringItem) return false;
    for (i += 2; i < body.size() && static_cast<uint8_t>(body[i]) >= 0x20;
         ++i) {
      if (body[i] != '$') item.text.push_back(body[i]);
    }
    items->push_back(std::move(item));
  }
  return true;
}

bool ItemCovers(const PatternItem& cached, const PatternItem& next) {
  const std::string& t = cached.text;
  const std::string& s = next.text;
  if (t.size() > s.size()) return false;
  if (cached.mode == kPrefixItem) {
    // Both test the same first bytes of the field.
    if (next.mode != kPrefixItem) return false;
    for (size_t i = 0; i < t.size(); ++i) {
      if (!ByteCovers(t[i], s[i])) return false;
    }
    return true;
  }
  // A cached substring inside the new text, with no "?" of the new text up
  // to its end: then the new match lies inside the field, and the cached
  // search meets no field end before it finds its own.
  const size_t wild = s.find('?');
  const size_t limit = wild == std::string::npos ? s.size() : wild;
  for (size_t o = 0; o + t.size() <= limit; ++o) {
    size_t i = 0;
    while (i < t.size() && ByteCovers(t[i], s[o + i])) ++i;
    if (i == t.size()) return true;
  }
  return false;
}

bool ItemsCover(std::string_view cached_body, std::string_view new_body) {
  std::vector<PatternItem> wanted, given;
  if (!ParseItems(cached_body, &wanted) || !ParseItems(new_body, &given)) {
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
    if (match == nullptr || !ItemCovers(w, *match)) return false;
  }
  return true;
}

}  // namespace

bool PatternCovers(std::string_view cached, std::string_view pattern,
                   bool universal) {
  std::string_view cached_body, new_body;
  if (!Body(cached, &cached_body) || !Body(pattern, &new_body)) return false;
  // A word end in the cached pattern excludes records the new one may want.
  if (cached_body.find('$') != std::string_view::npos) return false;
  return universal ? KeywordsCover(cached_body, new_body)
                   : ItemsCover(cached_body, new_body);
}

}  // namespace spravka
