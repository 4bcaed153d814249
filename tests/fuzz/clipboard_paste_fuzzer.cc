// SPDX-License-Identifier: GPL-3.0-or-later
// Clipboard text pasted into a small base: whatever it holds, the working
// table stays well formed (records back to back, each with all its tags in
// order and its terminator, no other byte below 0x20), every pasted record
// is entered in the change list under its own number, adding goes on after
// them, and the saved changes load back to the same table.
#include <string>

#include "editing/clipboard_text.h"
#include "editing/record_editor.h"
#include "fuzz_input.h"
#include "storage/base_file.h"
#include "storage/record_key.h"
#include "storage/record_store.h"

namespace spravka::fuzzing {
namespace {

constexpr int kFields = 3;

const std::string& SmallBase() {
  static const std::string base = [] {
    BaseHeader h;
    h.HomeFieldCount = kFields;
    h.OrgFieldCount = 1;
    h.HomeFields = 7;
    h.OrgFields = 1;
    h.TableGrowth = 100;
    return WriteBasePart(h, 7, "1\x02" "a\x03" "b\x1F" "2\x02\x03\x1F", "9\x1F");
  }();
  return base;
}

void ExpectWellFormed(const Table& t, int fields) {
  size_t p = 1;
  while (p < t.used) {
    Expect(t.HoldsRecordAt(p), "a record runs past the table");
    const std::string_view text = t.TextAt(p);
    Expect(text.front() == '\x01' && text.back() == '\x1F',
           "a record without its first tag or its end");
    int next_tag = 1;
    for (const char c : text.substr(0, text.size() - 1)) {
      const auto b = static_cast<unsigned char>(c);
      if (b >= 0x20) continue;
      Expect(b == next_tag, "a control byte that is no tag in its place");
      ++next_tag;
    }
    Expect(next_tag == fields + 1, "a record without all its fields");
    p += t.LengthAt(p);
  }
  Expect(p == t.used + 1, "the records do not end where the table does");
}

}  // namespace
}  // namespace spravka::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace spravka;
  using namespace spravka::fuzzing;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  RecordStore store;
  Expect(LoadBaseFromBytes(SmallBase(), &store).code() == StatusCode::kOk,
         "the small base does not load");
  const size_t before = store.HomeData.CountRecords();
  const std::optional<size_t> pasted =
      PasteRecords(store, TableId::kHome, text);
  Expect(pasted.has_value(), "a well-formed table refused the paste");
  const Table& t = store.HomeData;
  ExpectWellFormed(t, kFields);
  Expect(t.CountRecords() == before + *pasted, "records lost or invented");
  for (size_t p = 1; p < t.used; p += t.LengthAt(p)) {
    if (t.NumberAt(p) <= before) continue;
    const std::optional<std::string_view> change =
        store.HomeChanges.Find(t.NumberAt(p));
    Expect(change && *change == t.TextAt(p),
           "a pasted record that its change entry does not hold");
  }
  Expect(NextRecordNumber(t) == before + *pasted + 1,
         "adding does not go on after the pasted records");

  // What a save writes loads back to the same table.
  RecordStore reloaded;
  const std::string file =
      SmallBase() + WriteChangeSection(store.BaseStamp, store.HomeChanges,
                                       store.OrgChanges);
  Expect(LoadBaseFromBytes(file, &reloaded).code() == StatusCode::kOk,
         "the saved changes do not load");
  Expect(std::string_view(reloaded.HomeData.bytes.data() + 1,
                          reloaded.HomeData.used) ==
             std::string_view(t.bytes.data() + 1, t.used),
         "the saved changes load to another table");
  return 0;
}
