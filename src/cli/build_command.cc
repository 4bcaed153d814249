// SPDX-License-Identifier: GPL-3.0-or-later
// spravka-cli build: a new base part from TSV files.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/rules/new_base_layout.h"
#include "cli/arguments.h"
#include "cli/command.h"
#include "cli/console.h"
#include "cli/field_kinds.h"
#include "cli/tsv_table.h"
#include "storage/base_file.h"
#include "storage/base_section.h"
#include "storage/cp1251.h"
#include "storage/optimiser.h"

namespace spravka::cli {
namespace {

constexpr char kUsage[] =
    "Использование: spravka-cli build БАЗА.qz [--home КВАРТИРНЫЕ.tsv]\n"
    "                                 [--org ОРГАНИЗАЦИИ.tsv] [ПАРАМЕТРЫ]\n"
    "Новая база из файлов TSV: UTF-8, по записи в строке, поля через\n"
    "табуляцию в порядке столбцов. База записывается так же, как после\n"
    "оптимизации, без раздела изменений.\n"
    "  --home ФАЙЛ            квартирные телефоны (без него таблица пуста)\n"
    "  --org ФАЙЛ             телефоны организаций (без него таблица пуста)\n"
    "  --home-fields СПИСОК   поля квартирных телефонов через запятую\n"
    "                         (number,subscriber,street,house,building,flat,\n"
    "                         district; по умолчанию все)\n"
    "  --org-fields СПИСОК    поля организаций "
    "(number,organisation,department,\n"
    "                         street,house,building,office,district;\n"
    "                         по умолчанию все)\n"
    "  --title ТЕКСТ          заголовок программы, до 30 знаков\n"
    "  --caption ТЕКСТ        заголовок окна, до 50 знаков\n"
    "  --description ТЕКСТ    описание базы, до 250 знаков\n"
    "  --number-length N      цифр в номере, 4..7 (по умолчанию 6)\n"
    "  --origin-tag ТЕКСТ     метка исходного состояния, до 30 знаков\n"
    "                         (по умолчанию пусто: база пользователя)\n"
    "  --stamp N              отметка сборки 0..2147483646 для повторяемого\n"
    "                         результата (по умолчанию случайная)\n"
    "  --force                заменить существующий файл (прежний остаётся\n"
    "                         рядом с расширением .~qz); базу, открытую\n"
    "                         в окне программы, не заменяет и он\n"
    "Поля number и subscriber (organisation) есть всегда.\n";

constexpr char kDefaultTitle[] = "Телефонный справочник";
constexpr char kDefaultCaption[] = "Телефонный cправочник";

// A header text in Windows-1251, refused when it does not fit.
bool HeaderText(const Arguments& args, std::string_view option,
                const char* fallback, size_t capacity, std::string* out,
                std::string* error) {
  const std::string utf8 = args.Value(option, fallback);
  const std::optional<std::string> cp = Utf8ToCp1251(utf8);
  if (!cp) {
    *error = "«--" + std::string(option) +
             "»: текст не в UTF-8 или его нельзя записать в Windows-1251";
    return false;
  }
  if (std::any_of(cp->begin(), cp->end(),
                  [](char c) { return static_cast<uint8_t>(c) < 0x20; })) {
    *error = "«--" + std::string(option) + "»: управляющие знаки недопустимы";
    return false;
  }
  if (cp->size() > capacity) {
    *error = "«--" + std::string(option) + "»: больше " +
             std::to_string(capacity) + " знаков";
    return false;
  }
  *out = *cp;
  return true;
}

bool ReadTable(const Arguments& args, std::string_view option, int field_count,
               TsvTable* table) {
  if (!args.Has(option)) return true;
  const std::string path = args.Value(option);
  std::string tsv;
  if (!ReadInputStream(path, &tsv)) return false;
  std::string error;
  if (!ReadTsvTable(tsv, path, field_count, table, &error)) {
    Fail(error);
    return false;
  }
  return true;
}

int RunBuild(const std::vector<std::string>& words) {
  Arguments args;
  std::string error;
  if (!args.Parse(words,
                  {{"home", true},
                   {"org", true},
                   {"home-fields", true},
                   {"org-fields", true},
                   {"title", true},
                   {"caption", true},
                   {"description", true},
                   {"number-length", true},
                   {"origin-tag", true},
                   {"stamp", true},
                   {"force", false}},
                  &error)) {
    return UsageError("build", error);
  }
  if (args.positional().size() != 1) {
    return UsageError("build", "нужно имя одной новой базы");
  }
  const std::string& out_path = args.positional()[0];
  const bool force = args.Has("force");
  std::vector<std::string> inputs;
  for (const char* table : {"home", "org"}) {
    if (args.Has(table)) inputs.push_back(args.Value(table));
  }
  if (const int refused = CheckNewBase(out_path, force, inputs)) {
    return refused;
  }

  uint16_t home_fields = kAllHomeFields;
  uint16_t org_fields = kAllOrgFields;
  int64_t number_length = 0;
  int64_t stamp = 0;
  BaseHeader header;
  if ((args.Has("home-fields") &&
       !ParseFieldKinds(TableId::kHome, args.Value("home-fields"), &home_fields,
                        &error)) ||
      (args.Has("org-fields") &&
       !ParseFieldKinds(TableId::kOrg, args.Value("org-fields"), &org_fields,
                        &error)) ||
      !args.Integer("number-length", 4, 7, 6, &number_length, &error) ||
      !args.Integer("stamp", 0, kMaxBaseStamp, -1, &stamp, &error) ||
      !HeaderText(args, "title", kDefaultTitle, kTitleCapacity, &header.Title,
                  &error) ||
      !HeaderText(args, "caption", kDefaultCaption, kCaptionCapacity,
                  &header.Caption, &error) ||
      !HeaderText(args, "description", "", kDescriptionCapacity,
                  &header.Description, &error) ||
      !HeaderText(args, "origin-tag", "", kOriginTagCapacity, &header.OriginTag,
                  &error)) {
    return UsageError("build", error);
  }
  ApplyNewBaseLayout(static_cast<uint8_t>(home_fields), org_fields, &header);
  header.NumberLength = static_cast<int32_t>(number_length);

  TsvTable home;
  TsvTable org;
  if (!ReadTable(args, "home", header.HomeFieldCount, &home) ||
      !ReadTable(args, "org", header.OrgFieldCount, &org)) {
    return kExitFailure;
  }
  // The reserve an optimised base carries: the first load need not grow.
  const size_t larger = std::max(home.records, org.records);
  header.TableGrowth = static_cast<int32_t>(PlausibleTableGrowth(larger));
  if (home.section_text.size() > INT32_MAX ||
      org.section_text.size() > INT32_MAX) {
    return Fail("таблица больше 2 ГБ не помещается в базу");
  }

  const std::string base = WriteBasePart(
      header, stamp >= 0 ? static_cast<int32_t>(stamp) : NewBaseStamp(),
      home.section_text, org.section_text);
  if (const int refused = WriteNewBase(out_path, base, force, inputs)) {
    return refused;
  }
  std::printf("%s: %zu квартирных телефонов, %zu телефонов организаций.\n",
              out_path.c_str(), home.records, org.records);
  return 0;
}

}  // namespace

const Command kBuildCommand = {
    "build",
    "новая база из файлов TSV",
    kUsage,
    RunBuild,
};

}  // namespace spravka::cli
