// SPDX-License-Identifier: GPL-3.0-or-later
// spravka-cli restore: throws away the saved changes of a base.
#include <cstdio>
#include <string>
#include <vector>

#include "app/base_messages.h"
#include "cli/arguments.h"
#include "cli/base_loading.h"
#include "cli/command.h"
#include "cli/console.h"
#include "storage/restore.h"

namespace spravka::cli {
namespace {

constexpr char kUsage[] =
    "Использование: spravka-cli restore БАЗА.qz [--force]\n"
    "Возвращает базу в исходное состояние: раздел изменений отрезается,\n"
    "все сохранённые изменения пропадают. Только для базы с меткой\n"
    "исходного состояния (OriginTag): у базы, созданной пользователем,\n"
    "исходного состояния нет.\n"
    "  --force   вернуть в исходное состояние и базу, открытую в окне\n"
    "            программы (без него команда отказывается с кодом выхода 3)\n";

int RunRestore(const std::vector<std::string>& words) {
  Arguments args;
  std::string error;
  if (!args.Parse(words, {{"force", false}}, &error) || !args.OneBase(&error)) {
    return UsageError("restore", error);
  }
  const std::string& path = args.positional()[0];

  // Read, checked and counted under the writers' lock, as it is cut.
  RestoreReport report;
  const Status status = RestoreBasePart(
      path, WriteChecks::ForCommand(!args.Has("force")), &report);
  if (!status.ok()) return FailWithLeave(status, path);
  std::printf("%s: база в исходном состоянии, отрезано байт: %zu.\n",
              path.c_str(), report.removed_bytes);
  return 0;
}

}  // namespace

const Command kRestoreCommand = {
    "restore",
    "исходное состояние базы: сохранённые изменения отбрасываются",
    kUsage,
    RunRestore,
};

}  // namespace spravka::cli
