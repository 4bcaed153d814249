// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_STORAGE_BASE_FILE_H_
#define SPRAVKA_STORAGE_BASE_FILE_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "storage/base_header.h"
#include "storage/change_list.h"
#include "storage/file_identity.h"
#include "storage/file_system.h"
#include "storage/record_store.h"
#include "storage/status.h"

namespace spravka {

// Layout constants of a base file.
constexpr size_t kHeaderOffset = 4;
constexpr int32_t kHeaderDistanceBias = 732;  // HeaderDistance = length - 732
constexpr size_t kTrailerSize = 8;            // HeaderDistance, BaseStamp
// A build stamp drawn by a writer lies in 0..kMaxBaseStamp.
constexpr int32_t kMaxBaseStamp = 2147483646;

// A complete base part: placeholder length, scrambled header (both tags set
// to "A"), stamp, the two sections (compressed, scrambled), trailer, and the
// final length at offset 0. `home_text` and `org_text` are table texts as in
// a file (records without heads and without the leading tag 1).
// The two sections compress side by side (the residential one on this
// thread); `home_written`, when given, runs on this thread once the
// residential section is compressed, for a window that tells the user
// which stage the work has reached.
std::string WriteBasePart(const BaseHeader& header, int32_t stamp,
                          std::string_view home_text, std::string_view org_text,
                          const std::function<void()>& home_written = {});

// A change section for a base with this stamp: stamp, size hint, masked
// level-9 stream of the two change lists.
std::string WriteChangeSection(int32_t stamp, const ChangeList& home,
                               const ChangeList& org);

// The same around a change stream given byte for byte.
std::string WriteChangeSectionFromStream(int32_t stamp,
                                         std::string_view stream);

// The table text of a working table as a file section holds it: every
// record without its head and its leading tag 1. Counts the records.
std::string StripRecordHeads(const Table& table, size_t* record_count);

// A table section compressed from the text StripRecordHeads gives, which is
// held only while it is compressed. Still to be scrambled.
struct CompressedSection {
  std::string stream;
  size_t text_size = 0;
  size_t records = 0;
};
CompressedSection CompressTableSection(const Table& table);

// WriteBasePart from sections already compressed.
std::string WriteBasePartFromSections(const BaseHeader& header, int32_t stamp,
                                      CompressedSection home,
                                      CompressedSection org);

// Reads a base part back as the loader would: its layout and header, the
// stamp before the tables and in the trailer (both `stamp`), both streams
// inflated to their stated lengths, and their texts read by the loader's
// record rules into `home_records` and `org_records` records. A
// kRebuiltUnreadable status says what does not agree.
Status VerifyBasePart(std::string_view file, int32_t stamp, size_t home_records,
                      size_t org_records);

// Where the pieces of a base file lie, as the reader finds them.
struct BaseFileLayout {
  int32_t BasePartLength = 0;
  int32_t HeaderDistance = 0;
  int32_t BaseStamp = 0;  // the trailer's stamp
  size_t header_offset = 0;
  bool has_change_section = false;
};

// Reads the length, trailer and header position. kDamagedLayout when the
// file is too short for them or they point outside it.
Status ReadBaseFileLayout(std::string_view file, BaseFileLayout* layout);

// A base file read whole: its bytes, where its pieces lie, its header
// unscrambled, and the identity of the bytes as read. Whether the header's
// tags agree is the reader's question (BaseHeader::TagsAgree, CheckHeader).
struct BaseFile {
  std::string bytes;
  BaseFileLayout layout;
  BaseHeader header;
  BaseFileId id;

  // Writes `header`, scrambled, over the header in `bytes`.
  void PutHeader(const BaseHeader& new_header);
};

// How a base file is read: a writer first makes a read-only file writable.
// A writer leaves the file as it is: its new file is made writable when
// it is written (FileSystem::ReplaceFile), so that a write that fails
// changes nothing.
enum class BaseFileAccess { kRead, kWrite };

// The one way to read a base file: reads
// it whole, checks its layout and unscrambles its header. On failure
// `*base` is unspecified.
Status ReadBaseFile(const std::string& path, BaseFileAccess access,
                    FileSystem& fs, BaseFile* base);

// The same for the bytes of a whole file already read.
Status ParseBaseFile(std::string bytes, BaseFile* base);

}  // namespace spravka

#endif  // SPRAVKA_STORAGE_BASE_FILE_H_
