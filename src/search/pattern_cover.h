// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_SEARCH_PATTERN_COVER_H_
#define SPRAVKA_SEARCH_PATTERN_COVER_H_

#include <string_view>

#include "search/match_record.h"

namespace spravka {

// Whether every record that matches `pattern` certainly matches `cached`
// too, so that a search for `pattern` may scan only the result of `cached`.
// Both patterns are of the same mode. This is the cache test, made sound:
// reading the new pattern as if it were a record text would accept a cached
// "$" that the new text lacks ("12$" is not wider than "12"), a cached
// prefix item for a new substring item («^иван» is not wider than «иван»),
// and a cached "?" over a blank or a field boundary of the new text («ив?н»
// is not wider than «ив н»). Here a cached pattern with "$" covers nothing,
// item modes are compared, and a cached keyword or item must fall inside one
// keyword or item text of the new pattern. May say false where a result
// would be reusable; never says true where it is not (for records whose
// tags occur once, as in every record the program writes).
bool PatternCovers(std::string_view cached, std::string_view pattern,
                   bool universal);

// The same for patterns matched with options. The modes must agree. A
// cached "е" that also finds "ё" covers a new "е" or "ё"; one that does not
// covers no new "е" that does. A new word that may hold a slip is covered
// only by cached words that may hold one too, with no cached "?" over a
// letter of it (the slip may move that letter).
bool PatternCovers(std::string_view cached, const MatchOptions& cached_options,
                   std::string_view pattern, const MatchOptions& options);

}  // namespace spravka

#endif  // SPRAVKA_SEARCH_PATTERN_COVER_H_
