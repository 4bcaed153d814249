// SPDX-License-Identifier: GPL-3.0-or-later
// spravka-cli export: a working table as the window shows it, as TSV.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/base_loading.h"
#include "cli/command.h"
#include "cli/console.h"
#include "cli/field_kinds.h"
#include "cli/record_fields.h"
#include "storage/cp1251.h"

namespace spravka::cli {
namespace {

constexpr char kUsage[] =
    "Использование: spravka-cli export БАЗА.qz --table home|org\n"
    "                                  [--encoding utf-8|cp1251]\n"
    "Записи таблицы после применения изменений, как их показывает окно\n"
    "программы: по записи в строке, поля 1..n через табуляцию.\n"
    "  --table home       квартирные телефоны\n"
    "  --table org        телефоны организаций\n"
    "  --encoding utf-8   текст в UTF-8 (по умолчанию)\n"
    "  --encoding cp1251  байты записей как есть, в Windows-1251\n";

// Large enough that writing costs next to nothing, small enough not to
// double the memory of a big table.
constexpr size_t kChunk = 1 << 20;

bool Flush(std::string* chunk) {
  const bool ok =
      std::fwrite(chunk->data(), 1, chunk->size(), stdout) == chunk->size();
  chunk->clear();
  return ok;
}

int RunExport(const std::vector<std::string>& words) {
  Arguments args;
  std::string error;
  if (!args.Parse(words, {{"table", true}, {"encoding", true}}, &error) ||
      !args.OneBase(&error)) {
    return UsageError("export", error);
  }
  TableId table;
  if (!ParseTableName(args.Value("table"), &table)) {
    return UsageError("export", "«--table» должен быть home или org");
  }
  const std::string encoding = args.Value("encoding", "utf-8");
  if (encoding != "utf-8" && encoding != "cp1251") {
    return UsageError("export", "«--encoding» должен быть utf-8 или cp1251");
  }
  const bool utf8 = encoding == "utf-8";

  const std::string& path = args.positional()[0];
  RecordStore store;
  if (!LoadForCommand(path, &store)) return kExitFailure;

  const Table& data = store.table(table);
  const int field_count = store.FieldCount(table);
  std::string line;
  std::string chunk;
  chunk.reserve(kChunk + 4096);
  bool written = true;
  for (size_t p = 1; p < data.used; p += data.LengthAt(p)) {
    line.clear();
    AppendRecordFields(data.TextAt(p), field_count, &line);
    chunk += utf8 ? Cp1251ToUtf8(line) : line;
    chunk += '\n';
    if (chunk.size() >= kChunk && !(written = Flush(&chunk))) break;
  }
  if (!written || !Flush(&chunk) || std::fflush(stdout) != 0) {
    return Fail("не удалось записать в стандартный вывод");
  }
  return 0;
}

}  // namespace

const Command kExportCommand = {
    "export",
    "записи таблицы в TSV (UTF-8 или Windows-1251)",
    kUsage,
    RunExport,
};

}  // namespace spravka::cli
