// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_SEARCH_PATTERN_COVER_H_
#define SPRAVKA_SEARCH_PATTERN_COVER_H_

#include <string_view>

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

}  // namespace spravka

#endif  // SPRAVKA_SEARCH_PATTERN_COVER_H_
