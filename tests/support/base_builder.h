// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_TESTS_SUPPORT_BASE_BUILDER_H_
#define SPRAVKA_TESTS_SUPPORT_BASE_BUILDER_H_

#include <string>
#include <vector>

#include "storage/base_header.h"
#include "storage/change_list.h"
#include "storage/record_store.h"

namespace spravka::testing {

using Fields = std::vector<std::string>;

// A header with every field kind present and the default panel places.
BaseHeader FullHeader();
// A header with the given number of leading kinds present.
BaseHeader HeaderWithKinds(int home_kinds, int org_kinds);

// Table text as a file section holds it: field 1, tag 2, field 2, ..., 0x1F.
std::string SectionText(const std::vector<Fields>& records);
// A record text as the working table holds it: tag 1, field 1, ..., 0x1F.
std::string RecordText(const Fields& fields);

// A whole base file; the change section is appended when `with_changes`.
std::string MakeBaseFile(const std::vector<Fields>& home,
                         const std::vector<Fields>& org, int32_t stamp = 4242,
                         const ChangeList* home_changes = nullptr,
                         const ChangeList* org_changes = nullptr);

// `file` with the header's OriginTag set to `tag`: a base that can be reset
// to its clean state.
std::string WithOriginTag(std::string file, const std::string& tag = "Tag");

// The records of a working table as field lists, in table order.
std::vector<Fields> TableRecords(const Table& table, int field_count);
// The used part of a working table, to compare before and after.
std::string UsedBytes(const Table& table);
// Record numbers of a working table, in table order.
std::vector<uint32_t> TableNumbers(const Table& table);

// A fresh, empty folder for one test; removed with its contents at exit.
std::string TempDir();
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);

}  // namespace spravka::testing

#endif  // SPRAVKA_TESTS_SUPPORT_BASE_BUILDER_H_
