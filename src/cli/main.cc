// SPDX-License-Identifier: GPL-3.0-or-later
// spravka-cli: the command-line companion of the directory program.
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "app/version.h"
#include "app/version_notice.h"
#include "cli/command.h"
#include "cli/process_start.h"
#include "storage/file_system.h"

namespace {

void PrintHelp(FILE* out) {
  std::fputs(
      "Использование: spravka-cli КОМАНДА [ПАРАМЕТРЫ]\n"
      "Спутник телефонного справочника: создание, проверка, выгрузка и поиск "
      "баз .qz.\n\nКоманды:\n",
      out);
  for (const auto& c : spravka::cli::Commands()) {
    std::fprintf(out, "  %-10s %s\n", c.name, c.summary);
  }
  std::fputs(
      "\nspravka-cli КОМАНДА --help — подробности о команде.\n"
      "spravka-cli --version — версия программы и её лицензия.\n"
      "Коды выхода: 0 — готово, 1 — ошибка, 2 — неверная командная строка,\n"
      "3 — база открыта в окне программы, команда её не изменила.\n",
      out);
}

// Output that never reached its file (a full disk, a closed pipe) is a
// failure of the command, not a success. A command that already failed has
// said why.
int FinishOutput(int code) {
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    if (code == 0) {
      std::fputs("spravka-cli: не удалось записать в стандартный вывод\n",
                 stderr);
      return 1;
    }
  }
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  spravka::IgnoreFileSizeLimitSignal();
  spravka::cli::SetUpStandardStreams();
  const std::vector<std::string> words =
      spravka::cli::ProgramArguments(argc, argv);
  if (words.size() < 2 || words[1] == "--help" || words[1] == "-h") {
    PrintHelp(words.size() < 2 ? stderr : stdout);
    return words.size() < 2 ? 2 : FinishOutput(0);
  }
  if (words[1] == "--version") {
    std::printf("%s",
                spravka::VersionNotice("spravka-cli", spravka::kProgramVersion)
                    .c_str());
    return FinishOutput(0);
  }
  const std::string& name = words[1];
  for (const auto& c : spravka::cli::Commands()) {
    if (name != c.name) continue;
    std::vector<std::string> args(words.begin() + 2, words.end());
    for (const auto& a : args) {
      if (a == "--help" || a == "-h") {
        std::fputs(c.usage, stdout);
        return FinishOutput(0);
      }
    }
    try {
      return FinishOutput(c.run(args));
    } catch (const std::bad_alloc&) {
      std::fputs("spravka-cli: не хватает памяти\n", stderr);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "spravka-cli: %s\n", e.what());
    }
    return 1;
  }
  std::fprintf(stderr, "spravka-cli: неизвестная команда «%s»\n", name.c_str());
  PrintHelp(stderr);
  return 2;
}
