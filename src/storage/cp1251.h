// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_CP1251_H_
#define SPRAVKA_STORAGE_CP1251_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace spravka {

// Windows-1251 bytes to UTF-8. The undefined byte 0x98 becomes U+0098.
std::string Cp1251ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1251. Empty when the text is not valid UTF-8 or holds a
// character the code page lacks; `bad_offset` then gets the byte offset of
// the first such character.
std::optional<std::string> Utf8ToCp1251(std::string_view utf8,
                                        size_t* bad_offset = nullptr);

// The length of the well-formed UTF-8 character at `offset`, or 0 when the
// bytes there are not one: a stray or missing continuation byte, an
// overlong form, a surrogate, or a code point above U+10FFFF.
size_t Utf8CharacterLength(std::string_view utf8, size_t offset);

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_CP1251_H_
