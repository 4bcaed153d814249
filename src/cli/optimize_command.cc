// SPDX-License-Identifier: GPL-3.0-or-later
// spravka-cli optimize: folds the change section into a rebuilt base part.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "app/base_messages.h"
#include "cli/arguments.h"
#include "cli/base_loading.h"
#include "cli/command.h"
#include "cli/console.h"
#include "storage/locked_base.h"
#include "storage/optimiser.h"

namespace spravka::cli {
namespace {

constexpr char kUsage[] =
    "Использование: spravka-cli optimize БАЗА.qz [--stamp N] [--force]\n"
    "Оптимизация базы без вопроса: все изменения вносятся в перестроенную\n"
    "базу, записи нумеруются заново, прежний файл остаётся рядом с\n"
    "расширением .~qz. Ширина столбцов берётся из заголовка базы.\n"
    "  --stamp N   новая отметка сборки 0..2147483646 (по умолчанию\n"
    "              случайная)\n"
    "  --force     оптимизировать и базу, открытую в окне программы (без\n"
    "              него команда отказывается с кодом выхода 3)\n";

int RunOptimize(const std::vector<std::string>& words) {
  Arguments args;
  std::string error;
  int64_t stamp = 0;
  if (!args.Parse(words, {{"stamp", true}, {"force", false}}, &error) ||
      !args.Integer("stamp", 0, kMaxBaseStamp, -1, &stamp, &error) ||
      !args.OneBase(&error)) {
    return UsageError("optimize", error);
  }
  const std::string& path = args.positional()[0];

  // The base is read once, under the lock that is held to the end: changes
  // saved in between would be left out of the rebuilt base.
  LockedBase base(RealFileSystem());
  const Status opened =
      base.Open(path, WriteChecks::ForCommand(!args.Has("force")));
  if (!opened.ok()) return FailWithLeave(opened, path);
  RecordStore store;
  if (!LoadBytesForCommand(path, std::move(base.file().bytes), &store)) {
    return kExitFailure;
  }

  const size_t records =
      store.HomeData.CountRecords() + store.OrgData.CountRecords();
  const size_t changes = store.HomeChanges.size() + store.OrgChanges.size();
  const OptimiseEstimates estimates = EstimateOptimisation(records, changes);
  std::printf(
      "Записей: %zu, изменений: %zu.\n"
      "По грубой оценке скорость загрузки базы возрастет в%s раз,\n"
      "памяти понадобится в%s раза меньше.\n",
      records, changes, estimates.speed.c_str(), estimates.memory.c_str());
  std::fflush(stdout);
  // The working tables hold the changes now; their entries (millions,
  // perhaps) are not needed to rebuild the base.
  store.HomeChanges.clear();
  store.OrgChanges.clear();

  OptimiseReport report;
  const Status status = OptimiseLockedBase(
      base, store, store.header.HomeColWidths, store.header.OrgColWidths,
      stamp >= 0 ? static_cast<int32_t>(stamp) : NewBaseStamp(), &report);
  if (!status.ok()) return FailWith(status, BaseAction::kWriting, path);
  const std::string result =
      OptimisedMessage(report.home_records, report.org_records);
  std::printf("%s\nПрежняя база: %s\n", ForTerminal(result).c_str(),
              report.backup.c_str());
  return 0;
}

}  // namespace

const Command kOptimizeCommand = {
    "optimize",
    "оптимизация базы: изменения вносятся в перестроенную базу",
    kUsage,
    RunOptimize,
};

}  // namespace spravka::cli
