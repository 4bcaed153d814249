// SPDX-License-Identifier: GPL-3.0-or-later
// Bases whose change section holds millions of distinct change entries, and
// the two writers a command line does not offer, for bench/change-entries
// to time and measure.
// Usage: change_entries_bench --make BASE COUNT deletions|records|reversed
//          a small demo town (20 and 2 records) whose change section
//          holds COUNT entries, half for each table, numbered from 1 on:
//          deletions, or short records (a number, the other fields empty),
//          or the same records in descending order (as no writer of the
//          program stores them: the reader puts them in order)
//        change_entries_bench load BASE   loads it as the window does
//        change_entries_bench save BASE   loads it and saves its changes
#include <cstdio>
#include <cstdlib>
#include <string>

#include "storage/base_file.h"
#include "storage/file_system.h"
#include "storage/keystream.h"
#include "storage/record_key.h"
#include "storage/record_store.h"
#include "storage/record_table.h"
#include "storage/save.h"
#include "tools/demo_town.h"

namespace spravka {
namespace {

// The entries of one table, made straight into the stream: no change list
// is held while they are written.
void AppendEntries(size_t count, bool deletions, bool reversed,
                   int field_count, std::string* stream) {
  for (size_t i = 1; i <= count; ++i) {
    const size_t n = reversed ? count + 1 - i : i;
    const std::string key = RecordKey(static_cast<int64_t>(n));
    stream->append(key);
    if (!deletions) {
      stream->push_back('\x01');
      stream->append(key);
      for (int tag = 2; tag <= field_count; ++tag) {
        stream->push_back(static_cast<char>(tag));
      }
    }
    stream->push_back(static_cast<char>(kRecordEnd));
  }
}

int Make(const std::string& path, size_t count, bool deletions,
         bool reversed) {
  const DemoTown town = MakeDemoTown(20, 2, 1);
  const auto stamp = static_cast<int32_t>(Keystream(1).Next(kMaxBaseStamp + 1u));
  std::string file =
      WriteBasePart(town.header, stamp, town.home_text, town.org_text);
  std::string stream;
  AppendEntries(count - count / 2, deletions, reversed,
                town.header.HomeFieldCount, &stream);
  stream.push_back(static_cast<char>(kTableSeparator));
  AppendEntries(count / 2, deletions, reversed, town.header.OrgFieldCount,
                &stream);
  file += WriteChangeSectionFromStream(stamp, stream);
  stream = {};
  const Status status = RealFileSystem().WriteFile(path, file);
  if (!status.ok()) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return 1;
  }
  return 0;
}

int Run(int argc, char** argv) {
  const std::string what = argc > 2 ? argv[1] : "";
  if (what == "--make" && argc == 5) {
    const std::string kind = argv[4];
    if (kind != "deletions" && kind != "records" && kind != "reversed") {
      return 2;
    }
    return Make(argv[2], std::strtoull(argv[3], nullptr, 10),
                kind == "deletions", kind == "reversed");
  }
  if ((what == "load" || what == "save") && argc == 3) {
    RecordStore store;
    Status status = LoadBase(argv[2], &store);
    if (status.ok() && what == "save") status = SaveChanges(argv[2], store);
    if (!status.ok()) {
      std::fprintf(stderr, "%s failed\n", what.c_str());
      return 1;
    }
    return 0;
  }
  std::fprintf(stderr,
               "usage: change_entries_bench --make BASE COUNT "
               "deletions|records|reversed | load BASE | save BASE\n");
  return 2;
}

}  // namespace
}  // namespace spravka

int main(int argc, char** argv) { return spravka::Run(argc, argv); }
