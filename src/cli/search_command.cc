// SPDX-License-Identifier: GPL-3.0-or-later
// spravka-cli search: the rows a search grid would show for what the user
// types into the universal line or the detailed edits.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/rules/count_label.h"
#include "cli/arguments.h"
#include "cli/base_loading.h"
#include "cli/command.h"
#include "cli/console.h"
#include "cli/field_kinds.h"
#include "cli/record_fields.h"
#include "search/search_pattern.h"
#include "search/table_scan.h"
#include "storage/cp1251.h"

namespace spravka::cli {
namespace {

constexpr char kUsage[] =
    "Использование: spravka-cli search БАЗА.qz --table home|org\n"
    "                 (--universal ТЕКСТ | --field ВИД=ТЕКСТ ...) [--all]\n"
    "                 [--yo=on|off] [--typo=on|off]\n"
    "Записи, которые показала бы таблица окна, в её порядке: поля 1..n\n"
    "через табуляцию, строка \". . . . .\", если найдено больше 1000, и\n"
    "последней строкой надпись под «Выбрано:» («25 зап.», «более 1000 зап.»,\n"
    "«12 зап. — похожие», «0 зап.», когда ничего не найдено).\n"
    "  --table home|org      квартирные телефоны или организации\n"
    "  --universal ТЕКСТ     строка универсального поиска: ключевые слова\n"
    "                        через пробел, по любым полям, по порядку\n"
    "  --field ВИД=ТЕКСТ     текст поля детального поиска; ВИД — номер вида\n"
    "                        поля (квартирные 0..6, организации 0..7) или его\n"
    "                        имя (number, subscriber, street, ...); можно\n"
    "                        повторять\n"
    "  --all                 все найденные записи, без предела в 1000\n"
    "  --yo=on|off           «е» находит и «ё» (по умолчанию on)\n"
    "  --typo=on|off         если ничего не найдено, показать похожие: в\n"
    "                        каждом слове из четырёх и более букв одна буква\n"
    "                        другая, лишняя, пропущена или две соседние\n"
    "                        переставлены (по умолчанию on)\n"
    "«^» в начале текста — поле начинается с него, «?» — любой знак,\n"
    "«$» — конец слова. Полный номер в другой таблице здесь не ищется.\n";

constexpr std::string_view kMarker = ". . . . .";

struct Request {
  std::string path;
  std::string table_name;
  bool has_universal = false;
  std::string universal;
  std::vector<std::pair<std::string, std::string>> fields;  // kind, text
  bool all = false;
  SearchSettings settings{.yo = true, .similar = true};
};

// An "on" or "off" option; on when it is absent.
bool OnOff(const Arguments& args, std::string_view name, bool* value,
           std::string* error) {
  const std::string text = args.Value(name, "on");
  if (text != "on" && text != "off") {
    *error =
        "«--" + std::string(name) + "» ждёт on или off, а не «" + text + "»";
    return false;
  }
  *value = text == "on";
  return true;
}

bool ParseRequest(const std::vector<std::string>& words, Request* request,
                  std::string* error) {
  Arguments args;
  if (!args.Parse(words,
                  {{"table", true},
                   {"universal", true},
                   {"field", true, /*repeats=*/true},
                   {"all", false},
                   {"yo", true},
                   {"typo", true}},
                  error) ||
      !args.OneBase(error) ||
      !OnOff(args, "yo", &request->settings.yo, error) ||
      !OnOff(args, "typo", &request->settings.similar, error)) {
    return false;
  }
  request->path = args.positional()[0];
  request->table_name = args.Value("table");
  request->has_universal = args.Has("universal");
  request->universal = args.Value("universal");
  request->all = args.Has("all");
  for (const std::string& value : args.Values("field")) {
    const size_t eq = value.find('=');
    if (eq == std::string::npos) {
      *error = "«--field» ждёт ВИД=ТЕКСТ, а не «" + value + "»";
      return false;
    }
    request->fields.emplace_back(value.substr(0, eq), value.substr(eq + 1));
  }
  if (request->has_universal == !request->fields.empty()) {
    *error = "нужен либо «--universal», либо «--field»";
    return false;
  }
  return true;
}

// The field kind of a table by number or name, or -1.
int ParseKind(TableId table, std::string_view word) {
  for (int kind = 0; kind < KindCount(table); ++kind) {
    if (word == KindName(table, kind) ||
        (word.size() == 1 && word[0] == '0' + kind)) {
      return kind;
    }
  }
  return -1;
}

bool Cp1251(std::string_view utf8, std::string* out, std::string* error) {
  std::optional<std::string> converted = Utf8ToCp1251(utf8);
  if (!converted) {
    *error = "в тексте «" + std::string(utf8) +
             "» есть знаки, которых нет в Windows-1251";
    return false;
  }
  *out = std::move(*converted);
  return true;
}

// How much output is gathered before it is written.
constexpr size_t kOutputPiece = 1 << 20;

int RunSearch(const std::vector<std::string>& words) {
  Request request;
  std::string error;
  if (!ParseRequest(words, &request, &error))
    return UsageError("search", error);
  TableId table;
  if (!ParseTableName(request.table_name, &table)) {
    return UsageError("search", "«--table» должен быть home или org");
  }

  std::string universal_text;
  std::vector<std::string> edits(KindCount(table));
  std::vector<int> kinds;
  if (request.has_universal) {
    if (!Cp1251(request.universal, &universal_text, &error)) {
      return UsageError("search", error);
    }
  }
  for (const auto& [name, text] : request.fields) {
    const int kind = ParseKind(table, name);
    if (kind < 0) {
      return UsageError("search", "нет вида поля «" + name + "» в таблице " +
                                      request.table_name);
    }
    if (!Cp1251(text, &edits[kind], &error)) return UsageError("search", error);
    kinds.push_back(kind);
  }

  RecordStore store;
  if (!LoadForCommand(request.path, &store)) return kExitFailure;
  const ColumnMaps& maps = store.maps;
  for (const int kind : kinds) {
    const uint8_t column = table == TableId::kHome ? maps.HomeFieldColumn[kind]
                                                   : maps.OrgFieldColumn[kind];
    if (column == 0) {
      return Fail("у поля «" + std::string(KindName(table, kind)) +
                  "» нет окна поиска в этой базе");
    }
  }

  const std::string pattern =
      request.has_universal
          ? UniversalPattern(universal_text)
          : DetailedPattern(table, edits, maps, store.header.NumberLength);
  const SearchResult result =
      SearchTable(store.table(table), pattern, request.has_universal,
                  request.settings, request.all ? kNoCap : kSearchCap);

  const int field_count = store.FieldCount(table);
  // Written a piece at a time, as export does: the whole of a large result
  // is never held as text.
  bool written = true;
  std::string out;
  const auto flush = [&] {
    written =
        written && std::fwrite(out.data(), 1, out.size(), stdout) == out.size();
    out.clear();
  };
  std::string line;
  for (const ResultRow& row : result.rows) {
    line.clear();
    AppendRecordFields(row.text, field_count, &line);
    out += Show(line);
    out += '\n';
    if (out.size() >= kOutputPiece) flush();
  }
  if (result.capped) {
    for (int column = 1; column <= field_count; ++column) {
      if (column > 1) out += '\t';
      out += kMarker;
    }
    out += '\n';
  }
  out += result.capped ? "более " + std::to_string(kSearchCap) + " зап."
                       : std::to_string(result.count()) + " зап.";
  if (result.similar) out += kSimilarMark;
  out += '\n';
  flush();
  if (!written || std::fflush(stdout) != 0) {
    return Fail("не удалось записать в стандартный вывод");
  }
  return 0;
}

}  // namespace

const Command kSearchCommand = {
    "search",
    "поиск, как в окне: записи и их число",
    kUsage,
    RunSearch,
};

}  // namespace spravka::cli
