// SPDX-License-Identifier: GPL-3.0-or-later
// spravka-cli info: what a base file holds, one "Name: value" a line.
#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "app/base_messages.h"
#include "cli/arguments.h"
#include "cli/base_loading.h"
#include "cli/command.h"
#include "cli/console.h"
#include "cli/field_kinds.h"
#include "cli/record_fields.h"
#include "storage/base_file.h"
#include "storage/record_key.h"

namespace spravka::cli {
namespace {

constexpr char kUsage[] =
    "Использование: spravka-cli info БАЗА.qz\n"
    "Поля заголовка базы по именам, отметка сборки (BaseStamp), число\n"
    "записей в обеих таблицах после применения изменений и сами изменения:\n"
    "по одной строке «Имя: значение».\n";

void Line(const char* name, const std::string& value) {
  std::printf("%s: %s\n", name, value.c_str());
}

void Line(const char* name, long long value) {
  std::printf("%s: %lld\n", name, value);
}

template <size_t N>
std::string Places(const std::array<EditPlace, N>& places) {
  std::string out;
  for (const EditPlace& p : places) {
    if (!out.empty()) out += ' ';
    out += std::to_string(p.label_left) + ',' + std::to_string(p.edit_left) +
           ',' + std::to_string(p.edit_width);
  }
  return out;
}

template <size_t N>
std::string Widths(const std::array<int32_t, N>& widths, int count) {
  std::string out;
  for (int c = 0; c < count && c < static_cast<int>(N); ++c) {
    if (!out.empty()) out += ' ';
    out += std::to_string(widths[c]);
  }
  return out;
}

std::string Bits(unsigned bits, TableId table) {
  char hex[8];
  std::snprintf(hex, sizeof hex, table == TableId::kHome ? "0x%02X" : "0x%04X",
                bits);
  return std::string(hex) + " (" + DescribeFieldKinds(table, bits) + ")";
}

const char* ChangeSectionText(ChangeSectionStatus status) {
  switch (status) {
    case ChangeSectionStatus::kAbsent:
      return "нет";
    case ChangeSectionStatus::kApplied:
      return "применён";
    case ChangeSectionStatus::kForeignStamp:
      return "от другой сборки базы, не применён";
    case ChangeSectionStatus::kDamaged:
      return "повреждён, не применён";
  }
  return "";
}

void PrintHeader(const BaseHeader& h) {
  Line("FormatTag", h.FormatTag);
  Line("Title", Show(h.Title));
  Line("Caption", Show(h.Caption));
  Line("NumberLength", h.NumberLength);
  Line("HomeFieldCount", h.HomeFieldCount);
  Line("OrgFieldCount", h.OrgFieldCount);
  Line("TableGrowth", h.TableGrowth);
  Line("HomeFields", Bits(h.HomeFields, TableId::kHome));
  Line("OrgFields", Bits(h.OrgFields, TableId::kOrg));
  Line("HomeEditPlaces", Places(h.HomeEditPlaces));
  Line("OrgEditPlaces", Places(h.OrgEditPlaces));
  Line("HomeColWidths", Widths(h.HomeColWidths, h.HomeFieldCount));
  Line("OrgColWidths", Widths(h.OrgColWidths, h.OrgFieldCount));
  Line("OriginTag", Show(h.OriginTag));
  Line("Description", Show(h.Description));
  Line("CheckTag", h.CheckTag);
}

void PrintChanges(const char* name, const ChangeList& changes,
                  int field_count) {
  std::string value;
  for (const ChangeEntry& change : changes) {
    value = RecordKey(change.number) + ' ';
    if (change.IsDeletion()) {
      value += "удалена";
    } else {
      std::string fields;
      AppendRecordFields(change.value, field_count, &fields);
      value += Show(fields);
    }
    Line(name, value);
  }
}

int RunInfo(const std::vector<std::string>& words) {
  Arguments args;
  std::string error;
  if (!args.Parse(words, {}, &error) || !args.OneBase(&error)) {
    return UsageError("info", error);
  }
  const std::string& path = args.positional()[0];

  BaseFile base;
  if (!ReadBaseFileForCommand(path, &base)) return kExitFailure;
  const BaseFileLayout& layout = base.layout;

  Line("File", path);
  Line("FileLength", static_cast<long long>(base.bytes.size()));
  Line("BasePartLength", layout.BasePartLength);
  Line("HeaderDistance", layout.HeaderDistance);
  PrintHeader(base.header);
  Line("BaseStamp", layout.BaseStamp);
  std::fflush(stdout);

  RecordStore store;
  ChangeSectionStatus changes = ChangeSectionStatus::kAbsent;
  const Status status =
      LoadBaseFromBytes(std::move(base.bytes), &store, &changes);
  if (!status.ok()) return FailWith(status, BaseAction::kLoading, path);
  Line("HomeRecords", static_cast<long long>(store.HomeData.CountRecords()));
  Line("OrgRecords", static_cast<long long>(store.OrgData.CountRecords()));
  Line("HomeUsed", static_cast<long long>(store.HomeData.used));
  Line("OrgUsed", static_cast<long long>(store.OrgData.used));
  Line("ChangeSection", ChangeSectionText(changes));
  Line("HomeChanges", static_cast<long long>(store.HomeChanges.size()));
  Line("OrgChanges", static_cast<long long>(store.OrgChanges.size()));
  PrintChanges("HomeChange", store.HomeChanges, store.header.HomeFieldCount);
  PrintChanges("OrgChange", store.OrgChanges, store.header.OrgFieldCount);
  return 0;
}

}  // namespace

const Command kInfoCommand = {
    "info",
    "заголовок, отметка сборки, число записей и изменения базы",
    kUsage,
    RunInfo,
};

}  // namespace spravka::cli
