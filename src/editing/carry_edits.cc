// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/carry_edits.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "editing/record_editor.h"

namespace spravka {
namespace {

using UnsavedEdit = RecordStore::UnsavedEdit;

bool SameFields(const BaseHeader& a, const BaseHeader& b, TableId table) {
  if (table == TableId::kHome) {
    return a.HomeFieldCount == b.HomeFieldCount && a.HomeFields == b.HomeFields;
  }
  return a.OrgFieldCount == b.OrgFieldCount && a.OrgFields == b.OrgFields;
}

EditKind KindOf(const UnsavedEdit& edit) {
  if (!edit.then) return EditKind::kAdded;
  return edit.now ? EditKind::kEdited : EditKind::kDeleted;
}

// The text an edit is reported by: the record as the window shows it, or
// as it was loaded when the window deleted it.
std::string ShownText(const UnsavedEdit& edit) {
  return std::string(edit.now ? *edit.now : *edit.then);
}

// A record text as it is matched: with its leading tag 1 (an optimisation
// gives one to a record that had none).
std::string_view MatchKey(std::string_view text, std::string* scratch) {
  if (!text.empty() && text.front() == '\x01') return text;
  *scratch = '\x01';
  scratch->append(text);
  return *scratch;
}

struct KeyHash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const {
    return std::hash<std::string_view>{}(text);
  }
};

// The edits that look for a record with one text, in the window's order.
struct Seekers {
  std::vector<size_t> edits;
  size_t next = 0;  // the first that has not found its record
};

// Where each edit's record stands in `table`, by the rule of CarryEdits;
// none for those the table does not hold.
std::vector<std::optional<size_t>> FindRecords(
    const std::vector<UnsavedEdit>& edits, const Table& table) {
  std::vector<std::optional<size_t>> found(edits.size());
  std::unordered_map<std::string, Seekers, KeyHash, std::equal_to<>> seeking;
  std::string scratch;
  for (size_t i = 0; i < edits.size(); ++i) {
    if (edits[i].then) {
      seeking[std::string(MatchKey(*edits[i].then, &scratch))].edits.push_back(
          i);
    }
  }
  size_t unmatched = seeking.size();  // texts some edit still seeks
  for (size_t p = 1; p < table.used && unmatched > 0; p += table.LengthAt(p)) {
    const auto it = seeking.find(MatchKey(table.TextAt(p), &scratch));
    if (it == seeking.end() || it->second.next == it->second.edits.size()) {
      continue;
    }
    Seekers& seekers = it->second;
    found[seekers.edits[seekers.next++]] = p;
    if (seekers.next == seekers.edits.size()) --unmatched;
  }
  return found;
}

void CarryTable(const RecordStore& window, TableId id, RecordStore* fresh,
                CarryReport* report) {
  const std::vector<UnsavedEdit> edits = window.UnsavedEdits(id);
  if (edits.empty()) return;
  if (!SameFields(window.header, fresh->header, id)) {
    for (const UnsavedEdit& edit : edits) {
      report->not_carried.push_back(
          {id, KindOf(edit), ShownText(edit), NotCarriedReason::kFieldsDiffer});
    }
    return;
  }
  const std::vector<std::optional<size_t>> found =
      FindRecords(edits, fresh->table(id));

  // Records found: rewritten in one pass, in table order.
  std::vector<std::pair<size_t, size_t>> by_position;  // position, edit
  for (size_t i = 0; i < edits.size(); ++i) {
    if (found[i]) by_position.emplace_back(*found[i], i);
  }
  std::sort(by_position.begin(), by_position.end());
  std::vector<RecordStore::Rewrite> rewrites;
  std::vector<uint32_t> numbers;
  for (const auto& [position, i] : by_position) {
    rewrites.push_back({position, edits[i].now});
    numbers.push_back(fresh->table(id).NumberAt(position));
  }
  fresh->RewriteRecords(id, rewrites);
  for (size_t k = 0; k < by_position.size(); ++k) {
    const UnsavedEdit& edit = edits[by_position[k].second];
    fresh->SetChange(id, numbers[k], edit.now.value_or(ChangeList::kDeletion));
    ++(edit.now ? report->edited : report->deleted);
  }

  // The rest, in the window's order: added behind the last record, or
  // dropped when deleted.
  for (size_t i = 0; i < edits.size(); ++i) {
    if (found[i]) continue;
    const UnsavedEdit& edit = edits[i];
    const EditKind kind = KindOf(edit);
    if (kind == EditKind::kDeleted) {
      report->not_carried.push_back(
          {id, kind, ShownText(edit), NotCarriedReason::kRecordGone});
      continue;
    }
    const std::optional<uint32_t> number = NextRecordNumber(fresh->table(id));
    if (!number) {
      report->not_carried.push_back(
          {id, kind, ShownText(edit), NotCarriedReason::kNoNumber});
      continue;
    }
    fresh->SetChange(id, *number, *edit.now);
    fresh->AppendRecord(id, *number, *edit.now);
    if (kind == EditKind::kAdded) {
      ++report->added;
    } else {
      report->added_as_new.push_back({id, kind, ShownText(edit)});
    }
  }
}

}  // namespace

CarryReport CarryEdits(const RecordStore& window, RecordStore* fresh) {
  CarryReport report;
  CarryTable(window, TableId::kHome, fresh, &report);
  CarryTable(window, TableId::kOrg, fresh, &report);
  return report;
}

}  // namespace spravka
