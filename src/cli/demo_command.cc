// SPDX-License-Identifier: GPL-3.0-or-later
// spravka-cli demo: a synthetic town for trying the program out and for
// measuring it.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/command.h"
#include "cli/console.h"
#include "storage/base_file.h"
#include "storage/keystream.h"
#include "storage/record_key.h"
#include "tools/demo_town.h"

namespace spravka::cli {
namespace {

constexpr char kUsage[] =
    "Использование: spravka-cli demo БАЗА.qz [--home N] [--org M] [--seed S]\n"
    "                                [--force]\n"
    "Вымышленный, но правдоподобный город: фамилии с инициалами, улицы,\n"
    "дома и квартиры, районы; школы, поликлиники, магазины и фирмы с\n"
    "отделами и офисами. Одно и то же зерно даёт один и тот же файл.\n"
    "  --home N   квартирных телефонов (по умолчанию 20000)\n"
    "  --org M    телефонов организаций (по умолчанию 2000)\n"
    "  --seed S   зерно 0..4294967295 (по умолчанию 1)\n"
    "  --force    заменить существующий файл (прежний остаётся рядом\n"
    "             с расширением .~qz); базу, открытую в окне\n"
    "             программы, не заменяет и он\n";

// Record numbers become seven-digit keys in the change section.
constexpr int64_t kMaxRecords = kMaxKeyedRecordNumber;

int RunDemo(const std::vector<std::string>& words) {
  Arguments args;
  std::string error;
  int64_t home = 0;
  int64_t org = 0;
  int64_t seed = 0;
  if (!args.Parse(
          words,
          {{"home", true}, {"org", true}, {"seed", true}, {"force", false}},
          &error) ||
      !args.Integer("home", 0, kMaxRecords, 20000, &home, &error) ||
      !args.Integer("org", 0, kMaxRecords, 2000, &org, &error) ||
      !args.Integer("seed", 0, UINT32_MAX, 1, &seed, &error)) {
    return UsageError("demo", error);
  }
  if (args.positional().size() != 1) {
    return UsageError("demo", "нужно имя одной новой базы");
  }
  const std::string& path = args.positional()[0];
  const bool force = args.Has("force");
  if (const int refused = CheckNewBase(path, force, {})) return refused;

  const DemoTown town =
      MakeDemoTown(static_cast<size_t>(home), static_cast<size_t>(org),
                   static_cast<uint32_t>(seed));
  // The stamp follows from the seed too, so the whole file repeats.
  const auto stamp = static_cast<int32_t>(
      Keystream(static_cast<uint32_t>(seed)).Next(uint32_t{kMaxBaseStamp} + 1));
  if (const int refused = WriteNewBase(
          path,
          WriteBasePart(town.header, stamp, town.home_text, town.org_text),
          force, {})) {
    return refused;
  }
  std::printf("%s: %lld квартирных телефонов, %lld телефонов организаций.\n",
              path.c_str(), static_cast<long long>(home),
              static_cast<long long>(org));
  return 0;
}

}  // namespace

const Command kDemoCommand = {
    "demo",
    "вымышленный город для пробы и замеров",
    kUsage,
    RunDemo,
};

}  // namespace spravka::cli
