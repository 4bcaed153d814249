// SPDX-License-Identifier: GPL-3.0-or-later
// spravka-cli restore: throws away the saved changes of a base.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/base_messages.h"
#include "cli/arguments.h"
#include "cli/base_loading.h"
#include "cli/command.h"
#include "cli/console.h"
#include "storage/base_file.h"
#include "storage/restore.h"

namespace spravka::cli {
namespace {

constexpr char kUsage[] =
    "Использование: spravka-cli restore БАЗА.qz\n"
    "Возвращает базу в исходное состояние: раздел изменений отрезается,\n"
    "все сохранённые изменения пропадают. Только для базы с меткой\n"
    "исходного состояния (OriginTag): у базы, созданной пользователем,\n"
    "исходного состояния нет.\n";

int RunRestore(const std::vector<std::string>& words) {
  Arguments args;
  std::string error;
  if (!args.Parse(words, {}, &error) || !args.OneBase(&error)) {
    return UsageError("restore", error);
  }
  const std::string& path = args.positional()[0];

  BaseFile base;
  if (!ReadBaseFileForCommand(path, &base)) return kExitFailure;
  if (base.header.OriginTag.empty()) {
    return Fail(path +
                ": у базы нет исходного состояния (OriginTag пуст), "
                "её изменения не отбрасываются");
  }
  const size_t removed =
      base.bytes.size() - static_cast<size_t>(base.layout.BasePartLength);
  const Status status = RestoreBasePart(path);
  if (!status.ok()) return FailWith(status, BaseAction::kWriting, path);
  std::printf("%s: база в исходном состоянии, отрезано байт: %zu.\n",
              path.c_str(), removed);
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
