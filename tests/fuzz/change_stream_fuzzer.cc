// SPDX-License-Identifier: GPL-3.0-or-later
// A decompressed change stream: parsed whole, in pieces, and as it
// inflates, it gives the same change lists; every change it keeps can be a
// record; building the stream from the lists and parsing it again gives the
// lists back; and merged into a small base it leaves sound tables.
#include <string>

#include "fuzz_input.h"
#include "storage/base_file.h"
#include "storage/change_stream.h"
#include "storage/record_key.h"
#include "storage/record_store.h"
#include "storage/zlib_codec.h"

namespace spravka::fuzzing {
namespace {

bool SameLists(const ChangeList& a, const ChangeList& b) {
  if (a.size() != b.size()) return false;
  auto i = a.begin();
  for (auto j = b.begin(); j != b.end(); ++i, ++j) {
    if (i->number != j->number || i->value != j->value)
      return false;
  }
  return true;
}

void ExpectUsable(const ChangeList& list) {
  for (const ChangeEntry& data : list) {
    Expect(data.number >= 1 && data.number <= kMaxRecordNumber,
           "a key that names no record");
    Expect(!data.value.empty() &&
               data.value.back() == static_cast<char>(kRecordEnd),
           "a value without its end");
    Expect(data.value.find_first_of("\x1E\n") == std::string::npos,
           "a value holding a separator or a line feed");
    Expect(
        data.value.find(static_cast<char>(kRecordEnd)) == data.value.size() - 1,
        "a value with an end inside");
    Expect(FitsRecord(data.value), "a value no record can hold");
  }
}

// A base of three records a table, numbered 1..3.
const std::string& SmallBase() {
  static const std::string base = [] {
    BaseHeader h;
    h.HomeFieldCount = h.OrgFieldCount = 2;
    h.HomeFields = h.OrgFields = 3;
    h.TableGrowth = 100;
    return WriteBasePart(h, 7,
                         "1\x02"
                         "a\x1F"
                         "2\x02"
                         "b\x1F"
                         "3\x02"
                         "c\x1F",
                         "1\x02"
                         "x\x1F"
                         "2\x02"
                         "y\x1F"
                         "3\x02"
                         "z\x1F");
  }();
  return base;
}

}  // namespace
}  // namespace spravka::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace spravka;
  using namespace spravka::fuzzing;
  const std::string_view stream(reinterpret_cast<const char*>(data), size);

  ChangeList home, org;
  ParseChangeStream(stream, &home, &org);
  ExpectUsable(home);
  ExpectUsable(org);

  // In pieces whose sizes the input itself gives.
  ChangeList piece_home, piece_org;
  ChangeStreamParser parser(&piece_home, &piece_org);
  for (size_t at = 0, i = 0; at < stream.size(); ++i) {
    const size_t piece =
        1 + static_cast<uint8_t>(stream[i % stream.size()]) % 13;
    parser.Feed(stream.substr(at, piece));
    at += piece;
  }
  parser.Finish();
  Expect(SameLists(piece_home, home) && SameLists(piece_org, org),
         "pieces give other lists than the whole stream");

  // As it inflates.
  ChangeList inflated_home, inflated_org;
  ChangeStreamParser inflating(&inflated_home, &inflated_org);
  Expect(InflatePieces(
             Compress(stream), 1 + size % 97,
             [&inflating](std::string_view piece) { inflating.Feed(piece); }),
         "a stream just compressed does not inflate");
  inflating.Finish();
  Expect(SameLists(inflated_home, home) && SameLists(inflated_org, org),
         "inflating in pieces gives other lists");

  // Built again and parsed again.
  ChangeList round_home, round_org;
  ParseChangeStream(BuildChangeStream(home, org), &round_home, &round_org);
  Expect(SameLists(round_home, home) && SameLists(round_org, org),
         "building and parsing again changes the lists");

  // Merged into a base.
  RecordStore store;
  ChangeSectionStatus changes = ChangeSectionStatus::kAbsent;
  const Status status = LoadBaseFromBytes(
      SmallBase() + WriteChangeSectionFromStream(7, stream), &store, &changes);
  Expect(status.ok() && changes == ChangeSectionStatus::kApplied,
         "a base with this change stream does not load");
  Expect(SameLists(store.HomeChanges, home) && SameLists(store.OrgChanges, org),
         "the loader reads other lists");
  for (const Table* t : {&store.HomeData, &store.OrgData}) {
    uint32_t previous = 0;
    for (size_t p = 1; p < t->used; p += t->LengthAt(p)) {
      Expect(
          t->LengthAt(p) > kRecordHeadSize && p + t->LengthAt(p) - 1 <= t->used,
          "a merged record runs past its table");
      Expect(t->TextAt(p).back() == static_cast<char>(kRecordEnd),
             "a merged record without end");
      Expect(t->NumberAt(p) > previous, "merged numbers not ascending");
      previous = t->NumberAt(p);
    }
  }
  return 0;
}
