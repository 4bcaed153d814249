// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_WINDOWS_WIDE_TEXT_H_
#define SPRAVKA_STORAGE_WINDOWS_WIDE_TEXT_H_

#include <string>
#include <string_view>

namespace spravka {

// The program keeps names and messages in UTF-8; the wide-character API of
// Windows takes and gives UTF-16. Bytes that are not UTF-8 become U+FFFD.
std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);

// The text Windows gives for a system error code, without its line end;
// empty when it has none.
std::string SystemErrorText(unsigned long code);

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_WINDOWS_WIDE_TEXT_H_
