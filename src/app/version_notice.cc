// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/version_notice.h"

namespace spravka {

std::string VersionNotice(std::string_view program, std::string_view version) {
  // The licence lines in the wording of the GNU programs' Russian messages.
  static constexpr char kTerms[] =
      "Copyright (C) 2026 Spravka developers.\n"
      "Лицензия GPLv3+: GNU GPL версии 3 или новее "
      "<https://gnu.org/licenses/gpl.html>.\n"
      "Это свободное ПО: вы можете изменять и распространять его.\n"
      "Нет НИКАКИХ ГАРАНТИЙ в пределах действующего законодательства.\n";
  std::string notice(program);
  notice += ' ';
  notice += version;
  notice += '\n';
  notice += kTerms;
  return notice;
}

}  // namespace spravka
