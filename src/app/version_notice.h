// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_VERSION_NOTICE_H_
#define SPRAVKA_APP_VERSION_NOTICE_H_

#include <string>
#include <string_view>

namespace spravka {

// What `--version` of both programs prints (UTF-8, ending in a newline),
// laid out as GNU programs print it: the program's name and version, the
// copyright, the licence with its address, and the lines on free software
// and warranty.
std::string VersionNotice(std::string_view program, std::string_view version);

}  // namespace spravka

#endif  // SPRAVKA_APP_VERSION_NOTICE_H_
