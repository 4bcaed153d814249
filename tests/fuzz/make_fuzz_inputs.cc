// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the seed corpus of the fuzz targets and the reproductions of the
// files that once cost the reader memory or broke optimisation.
//   make_fuzz_inputs corpus DIR            seeds from the demo generator
//   make_fuzz_inputs reproductions DIR     the reproductions, small
//   make_fuzz_inputs full-reproductions DIR  the same at full size (MBs)
// Each goes to DIR/<target>/<name>.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "search/search_pattern.h"
#include "search/text_fold.h"
#include "storage/base_file.h"
#include "storage/base_template.h"
#include "storage/change_stream.h"
#include "storage/cp1251.h"
#include "storage/file_system.h"
#include "storage/keystream.h"
#include "storage/record_key.h"
#include "storage/record_store.h"
#include "storage/zlib_codec.h"
#include "support/hostile_bases.h"
#include "tools/demo_town.h"

namespace spravka {
namespace {

std::filesystem::path root;

void Put(const std::string& target, const std::string& name,
         const std::string& bytes) {
  const std::filesystem::path folder = root / target;
  std::filesystem::create_directories(folder);
  const std::string path = (folder / name).string();
  if (!RealFileSystem().WriteFile(path, bytes).ok()) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::exit(1);
  }
}

std::string Demo(size_t home, size_t org, uint32_t seed) {
  const DemoTown town = MakeDemoTown(home, org, seed);
  return WriteBasePart(
      town.header,
      static_cast<int32_t>(Keystream(seed).Next(uint32_t{kMaxBaseStamp} + 1)),
      town.home_text, town.org_text);
}

RecordStore Loaded(const std::string& file) {
  RecordStore store;
  if (!LoadBaseFromBytes(file, &store).ok()) std::abort();
  return store;
}

// A few edits of the kinds the window makes: a record rewritten, one
// deleted, one added behind the last.
void Edit(const RecordStore& store, ChangeList* home, ChangeList* org) {
  const Table& h = store.HomeData;
  std::string text(h.TextAt(1));
  text.insert(text.size() - 1, "1");
  home->Add(h.NumberAt(1), text);
  home->Add(3, "\x1F");
  home->Add(h.CountRecords() + 1,
            "\x01"
            "777777\x02"
            "Новиков А.А.\x03\x04\x05\x06\x07\x1F");
  org->Add(1, "\x1F");
}

// A stated-length mode, an amount, then the stream.
void InflateSeeds(const DemoTown& town) {
  Put("section_inflate", "home",
      std::string("\x00\x00") + Compress(town.home_text));
  Put("section_inflate", "org-longer",
      std::string("\x01\x07") + Compress(town.org_text));
  Put("section_inflate", "empty", std::string("\x00\x00") + Compress(""));
  Put("section_inflate", "stored",
      std::string("\x02\x03") + std::string("\x78\x01\x01\x05\x00\xFA\xFF", 7) +
          "hello" + std::string("\x06\x2C\x02\x15", 4));
}

void Corpus() {
  for (const auto& [home, org, seed] :
       {std::tuple{0, 0, 1u}, std::tuple{3, 2, 1u}, std::tuple{12, 4, 2u},
        std::tuple{30, 6, 3u}}) {
    Put("base_file", "demo-" + std::to_string(home) + "-" + std::to_string(org),
        Demo(home, org, seed));
  }
  const std::string town = Demo(12, 4, 2);
  const RecordStore store = Loaded(town);
  ChangeList home, org;
  Edit(store, &home, &org);
  Put("base_file", "demo-12-4-changes",
      town + WriteChangeSection(store.BaseStamp, home, org));
  Put("base_file", "demo-12-4-foreign",
      town + WriteChangeSection(store.BaseStamp + 1, home, org));
  std::string fresh = BaseTemplate();
  const HeaderBytes header = MakeDemoTown(0, 0, 1).header.ToFile();
  fresh.replace(kHeaderOffset, kHeaderSize,
                reinterpret_cast<const char*>(header.data()), kHeaderSize);
  Put("base_file", "new-base", fresh);

  Put("change_stream", "edits", BuildChangeStream(home, org));
  Put("change_stream", "empty", BuildChangeStream(ChangeList(), ChangeList()));
  Put("change_stream", "template",
      "0000001\x1F\x1E"
      "0000001\x1F");
  Put("change_stream", "rules",
      "000004\x1F"
      "0000004\x1F\n\x1E"
      "00a0001\x1F"
      "0000002xyz\x1F\x1E"
      "0000009\x1F");

  // Matcher: flags (universal, slice), limit, the pattern, records.
  std::string records;
  for (size_t p = 1; p < store.HomeData.used; p += store.HomeData.LengthAt(p)) {
    records += store.HomeData.TextAt(p);
  }
  const std::string typed = Utf8ToCp1251("нов ул").value();
  Put("matcher", "universal",
      std::string("\x07\x05") + UniversalPattern(typed) + records);
  std::vector<std::string> edits(kHomeKinds);
  edits[1] = Utf8ToCp1251("Нов").value();
  edits[2] = Utf8ToCp1251("^Лен").value();
  Put("matcher", "detailed",
      std::string("\x0A\x03") +
          DetailedPattern(TableId::kHome, edits, store.maps, 6) + records);
  Put("matcher", "wildcards", std::string("\x01\x0F") + "?$ 1?\x1F" + records);
  // With "е" for "ё" and slips: misspelt words.
  Put("matcher", "slips",
      std::string("\x67\x05") +
          UniversalPattern(Utf8ToCp1251("нвиков ленина$ 1?").value()) +
          records);
  edits[1] = Utf8ToCp1251("Новков").value();
  Put("matcher", "detailed-slips",
      std::string("\x6A\x03") +
          DetailedPattern(TableId::kHome, edits, store.maps, 6) + records);

  // Search patterns: flags, kinds present, kinds with boxes, typed texts.
  InflateSeeds(MakeDemoTown(20, 5, 4));

  Put("search_pattern", "home",
      std::string("\x04\x7F\xFF\xFF") + Utf8ToCp1251("123").value() + '\0' +
          Utf8ToCp1251("Иван").value() + '\0' + "^" +
          Utf8ToCp1251("лен").value());
  Put("search_pattern", "org-number",
      std::string("\x05\xFF\xFF\xFF"
                  "123456\0yjd",
                  14));
  Put("search_pattern", "slips",
      std::string("\x18\x7F\xFF\xFF") + Utf8ToCp1251("12").value() + '\0' +
          Utf8ToCp1251("Семенв").value() + '\0' + "^" +
          Utf8ToCp1251("Линина").value());
  Put("search_pattern", "latin-layout",
      std::string("\x00\x7F\x06\x06"
                  "\0bdfy\0^ktyby",
                  16));
}

void Reproductions(testing::HostileScale scale) {
  for (const testing::HostileBase& base : testing::HostileBases(scale)) {
    Put("base_file", base.name, base.bytes);
  }
  if (scale == testing::HostileScale::kSmall) {
    // An entry longer than any record, between two that count.
    Put("change_stream", "overlong-entry",
        "0000001\x1F\x1E" + std::string(66000, 'A') +
            "\x1F"
            "0000002\x01x\x1F");
  }
}

}  // namespace
}  // namespace spravka

int main(int argc, char** argv) {
  using namespace spravka;
  const std::string what = argc == 3 ? argv[1] : "";
  if (what != "corpus" && what != "reproductions" &&
      what != "full-reproductions") {
    std::fprintf(stderr,
                 "usage: make_fuzz_inputs "
                 "corpus|reproductions|full-reproductions DIR\n");
    return 2;
  }
  root = argv[2];
  if (what == "corpus") {
    Corpus();
  } else {
    Reproductions(what == "reproductions" ? testing::HostileScale::kSmall
                                          : testing::HostileScale::kFull);
  }
  return 0;
}
