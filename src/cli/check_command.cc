// SPDX-License-Identifier: GPL-3.0-or-later
// spravka-cli check: reads and verifies a whole base file.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "cli/arguments.h"
#include "cli/base_check.h"
#include "cli/command.h"
#include "cli/console.h"

namespace spravka::cli {
namespace {

constexpr char kUsage[] =
    "Использование: spravka-cli check БАЗА.qz\n"
    "Читает и проверяет всю базу: заголовок, отметки сборки, обе таблицы\n"
    "запись за записью, раздел изменений и загрузку. Печатает найденные\n"
    "ошибки; код выхода 0 только у исправной базы.\n";

int RunCheck(const std::vector<std::string>& words) {
  Arguments args;
  std::string error;
  if (!args.Parse(words, {}, &error) || !args.OneBase(&error)) {
    return UsageError("check", error);
  }
  const std::string& path = args.positional()[0];
  std::string file;
  if (!ReadInputFile(path, &file)) return kExitFailure;

  const BaseCheck check = CheckBaseFile(std::move(file));
  for (const std::string& problem : check.problems) {
    std::printf("%s: %s\n", path.c_str(), ForTerminal(problem).c_str());
  }
  for (const std::string& note : check.notes) {
    std::printf("%s: замечание: %s\n", path.c_str(), ForTerminal(note).c_str());
  }
  std::fflush(stdout);
  if (!check.problems.empty()) {
    return Fail(path + ": база неисправна, ошибок: " +
                std::to_string(check.problems.size()));
  }
  std::printf(
      "%s: база исправна: %zu квартирных телефонов, %zu телефонов "
      "организаций, изменений: %zu.\n",
      path.c_str(), check.home_records, check.org_records, check.changes);
  return 0;
}

}  // namespace

const Command kCheckCommand = {
    "check",
    "проверка всей базы; код выхода 0 только у исправной",
    kUsage,
    RunCheck,
};

}  // namespace spravka::cli
