// SPDX-License-Identifier: GPL-3.0-or-later
// A whole base file: it loads or is refused with a status; a loaded store
// has sound tables and change lists; the checker agrees with the loader;
// saving the changes and loading again gives the same tables; and the base
// part optimisation would write reads back as the loader will read it.
#include <string>

#include "cli/base_check.h"
#include "fuzz_input.h"
#include "storage/base_file.h"
#include "storage/record_key.h"
#include "storage/record_store.h"
#include "storage/record_table.h"

namespace spravka::fuzzing {
namespace {

void ExpectSoundTable(const Table& table, int field_count) {
  uint32_t previous = 0;
  for (size_t p = 1; p < table.used;) {
    Expect(p + kRecordHeadSize <= table.used,
           "a record head runs past the table");
    const size_t length = table.LengthAt(p);
    Expect(length > kRecordHeadSize && p + length - 1 <= table.used,
           "a record length runs past the table");
    const std::string_view text = table.TextAt(p);
    Expect(text.back() == static_cast<char>(kRecordEnd),
           "a record without its end");
    Expect(text.find(static_cast<char>(kRecordEnd)) == text.size() - 1,
           "a record with an end inside");
    Expect(table.NumberAt(p) > previous, "record numbers not ascending");
    previous = table.NumberAt(p);
    p += length;
  }
  Expect(table.bytes.size() >= table.used + 1,
         "the used part runs past the table");
  (void)field_count;
}

void ExpectSoundChanges(const ChangeList& changes) {
  for (const ChangeEntry& data : changes) {
    Expect(data.number >= 1 && data.number <= kMaxKeyedRecordNumber,
           "a change key that is not seven digits");
    Expect(!data.value.empty() &&
               data.value.back() == static_cast<char>(kRecordEnd),
           "a change value without its end");
    Expect(FitsRecord(data.value), "a change value no record can hold");
  }
}

bool SameTable(const Table& a, const Table& b) {
  return a.used == b.used && std::string_view(a.bytes.data() + 1, a.used) ==
                                 std::string_view(b.bytes.data() + 1, b.used);
}

}  // namespace
}  // namespace spravka::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace spravka;
  using namespace spravka::fuzzing;
  const std::string file(reinterpret_cast<const char*>(data), size);

  RecordStore store;
  const Status status = LoadBaseFromBytes(file, &store);
  const cli::BaseCheck check = cli::CheckBaseFile(file);
  if (check.problems.empty()) {
    Expect(status.ok(), "the checker calls sound a base that does not load");
  }
  if (!status.ok()) return 0;
  ExpectSoundTable(store.HomeData, store.header.HomeFieldCount);
  ExpectSoundTable(store.OrgData, store.header.OrgFieldCount);
  ExpectSoundChanges(store.HomeChanges);
  ExpectSoundChanges(store.OrgChanges);
  if (check.problems.empty()) {
    Expect(check.home_records == store.HomeData.CountRecords() &&
               check.org_records == store.OrgData.CountRecords(),
           "the checker and the loader count different records");
  }

  // Saving the change lists and loading again gives the same tables.
  BaseFileLayout layout;
  Expect(ReadBaseFileLayout(file, &layout).ok(),
         "a loaded base without a layout");
  const std::string saved =
      file.substr(0, layout.BasePartLength) +
      WriteChangeSection(store.BaseStamp, store.HomeChanges, store.OrgChanges);
  RecordStore reloaded;
  ChangeSectionStatus changes = ChangeSectionStatus::kAbsent;
  const Status again = LoadBaseFromBytes(saved, &reloaded, &changes);
  Expect(again.ok() && changes == ChangeSectionStatus::kApplied,
         "a saved base does not load with its changes");
  Expect(SameTable(reloaded.HomeData, store.HomeData) &&
             SameTable(reloaded.OrgData, store.OrgData),
         "saving and loading changed the tables");

  // What optimisation would write reads back as the loader will read it.
  size_t home_records = 0;
  size_t org_records = 0;
  const std::string home_text = StripRecordHeads(store.HomeData, &home_records);
  const std::string org_text = StripRecordHeads(store.OrgData, &org_records);
  const std::string part = WriteBasePart(store.header, 1, home_text, org_text);
  Expect(VerifyBasePart(part, 1, home_records, org_records).ok(),
         "the optimiser would write a base part the loader cannot read");
  RecordStore rebuilt;
  Expect(LoadBaseFromBytes(part, &rebuilt).code() == StatusCode::kOk &&
             rebuilt.HomeData.CountRecords() == home_records &&
             rebuilt.OrgData.CountRecords() == org_records,
         "a verified base part does not load");
  return 0;
}
