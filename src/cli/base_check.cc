// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/base_check.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "app/base_messages.h"
#include "storage/base_file.h"
#include "storage/base_section.h"
#include "storage/byte_buffer.h"
#include "storage/byte_order.h"
#include "storage/change_stream.h"
#include "storage/keystream.h"
#include "storage/record_key.h"
#include "storage/record_store.h"
#include "storage/zlib_codec.h"

namespace spravka::cli {
namespace {

// Beyond this many bad records of one table the rest are only counted.
constexpr size_t kListedBadRecords = 5;
// Key and value of one change entry together, as the format bounds them.
constexpr size_t kFormatChangeEntry = 250;
constexpr size_t kKeySize = kChangeKeyLength;
// The piece in which the change stream is inflated and checked.
constexpr size_t kChangePiece = 64 * 1024;

// Header offsets of the length bytes of the counted strings.
struct CountedString {
  size_t offset;
  size_t capacity;
  const char* name;
};
constexpr CountedString kCountedStrings[] = {
    {1, kTitleCapacity, "Title"},
    {32, kCaptionCapacity, "Caption"},
    {352, kOriginTagCapacity, "OriginTag"},
    {383, kDescriptionCapacity, "Description"},
};

bool IsTag(uint8_t b) { return b >= 1 && b <= 8; }

// Checks one record text that ends with 0x1F. Section texts start with the
// value of field 1; texts in memory and in change entries with tag 1.
// Returns an empty string when the record is well formed.
std::string RecordProblem(std::string_view text, int field_count,
                          bool leading_tag) {
  if (text.empty() || static_cast<uint8_t>(text.back()) != kRecordEnd) {
    return "запись не кончается байтом 0x1F";
  }
  if (leading_tag && (text.size() < 2 || text[0] != 1)) {
    return "запись не начинается с метки поля 1";
  }
  int expected = leading_tag ? 1 : 2;
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    const auto b = static_cast<uint8_t>(text[i]);
    if (IsTag(b)) {
      if (b != expected) {
        return "метка поля " + std::to_string(b) + " там, где ждали " +
               std::to_string(expected);
      }
      ++expected;
    } else if (b == 0x0A || b == kTableSeparator || b == kRecordEnd) {
      return "в поле " + std::to_string(expected - 1) + " недопустимый байт " +
             std::to_string(b);
    }
  }
  if (expected - 1 != field_count) {
    return "полей " + std::to_string(expected - 1) + ", а в таблице " +
           std::to_string(field_count);
  }
  return "";
}

class Checker {
 public:
  explicit Checker(std::string file) : file_(std::move(file)) {}

  BaseCheck Run() {
    BaseFile base;
    const Status status = ParseBaseFile(std::move(file_), &base);
    file_ = std::move(base.bytes);
    if (!status.ok()) {
      Problem(BaseProblemText(status));
      return std::move(result_);
    }
    layout_ = base.layout;
    header_ = base.header;
    if (!CheckHeader()) return std::move(result_);
    // The change section first: a base record that a change replaces or
    // deletes never shows, so its text does not matter (a new base holds
    // such a placeholder with more tags than its table has fields).
    CheckChangeSection();
    CheckSections();
    if (result_.problems.empty()) CheckTableGrowth();
    if (result_.problems.empty()) CheckLoad();
    return std::move(result_);
  }

 private:
  bool Changed(int table, size_t number) const {
    return number < changed_[table].size() && changed_[table][number];
  }

  void Problem(std::string text) {
    result_.problems.push_back(std::move(text));
  }

  int64_t Int32At(size_t offset) const {
    return ReadInt32(reinterpret_cast<const uint8_t*>(file_.data()) + offset);
  }

  // False when the header is too damaged to go on.
  bool CheckHeader() {
    if (!header_.TagsAgree()) {
      Problem(std::string(kDamagedHeaderText) + " (CheckTag " +
              std::to_string(header_.CheckTag) + ", FormatTag " +
              std::to_string(header_.FormatTag) + ")");
      return false;
    }
    if (header_.FormatTag != kFormatLetter) {
      Problem(std::string(kUnsupportedFormatText) + kSiteAddress +
              " (FormatTag " + std::to_string(header_.FormatTag) + ")");
      return false;
    }
    bool usable = true;
    if (header_.HomeFieldCount != std::popcount(header_.HomeFields) ||
        header_.HomeFields > 0x7F || header_.HomeFieldCount < 1) {
      Problem("HomeFieldCount " + std::to_string(header_.HomeFieldCount) +
              " не согласуется с HomeFields " +
              std::to_string(header_.HomeFields));
      usable = false;
    }
    if (header_.OrgFieldCount != std::popcount(header_.OrgFields) ||
        header_.OrgFields > 0xFF || header_.OrgFieldCount < 1) {
      Problem("OrgFieldCount " + std::to_string(header_.OrgFieldCount) +
              " не согласуется с OrgFields " +
              std::to_string(header_.OrgFields));
      usable = false;
    }
    if (header_.NumberLength < 4 || header_.NumberLength > 7) {
      Problem("NumberLength " + std::to_string(header_.NumberLength) +
              " вне 4..7");
    }
    if (header_.TableGrowth < 0) {
      Problem("TableGrowth отрицателен: " +
              std::to_string(header_.TableGrowth));
    }
    for (const CountedString& s : kCountedStrings) {
      if (header_.raw[s.offset] > s.capacity) {
        Problem(std::string(s.name) + ": длина " +
                std::to_string(header_.raw[s.offset]) + " больше " +
                std::to_string(s.capacity));
      }
    }
    return usable;
  }

  // Checks the stamps and both table sections.
  void CheckSections() {
    const int64_t base_end = layout_.BasePartLength - int64_t{kTrailerSize};
    int64_t at = static_cast<int64_t>(layout_.header_offset + kHeaderSize);
    if (at + 4 > base_end) {
      Problem("после заголовка нет места для таблиц");
      return;
    }
    if (Int32At(at) != layout_.BaseStamp) {
      Problem("отметка сборки " + std::to_string(Int32At(at)) +
              " перед таблицами не равна отметке в конце базы " +
              std::to_string(layout_.BaseStamp));
    }
    at += 4;
    if (CheckSection(TableId::kHome, &at, base_end)) {
      CheckSection(TableId::kOrg, &at, base_end);
    }
  }

  // False when the section's lengths leave no way to find what follows it.

  bool CheckSection(TableId table, int64_t* at, int64_t base_end) {
    const bool is_home = table == TableId::kHome;
    const std::string name =
        is_home ? "квартирные телефоны" : "телефоны организаций";
    if (*at + 8 > base_end) {
      Problem(name + ": раздел обрывается");
      return false;
    }
    const int64_t text_length = Int32At(*at);
    const int64_t stream_length = Int32At(*at + 4);
    *at += 8;
    if (text_length < 0 || stream_length < 0 ||
        *at + stream_length > base_end) {
      Problem(name + ": длины раздела (" + std::to_string(text_length) + ", " +
              std::to_string(stream_length) + ") выходят за базу");
      return false;
    }
    // Deflate expands by about 1032 times at most: anything more is a
    // damaged length, not a reason to allocate gigabytes.
    if (text_length > stream_length * kMaxInflateRatio + kInflateSlack) {
      Problem(name + ": длина текста " + std::to_string(text_length) +
              " невозможна для потока в " + std::to_string(stream_length) +
              " байт");
      *at += stream_length;
      return true;
    }
    std::string stream = file_.substr(*at, stream_length);
    *at += stream_length;
    auto* bytes = reinterpret_cast<uint8_t*>(stream.data());
    if (is_home) {
      ScrambleHomeStream(bytes, stream.size());
    } else {
      ScrambleOrgStream(bytes, stream.size());
    }
    if (static_cast<int64_t>(text_length) >
            kSuspectInflateRatio * static_cast<int64_t>(stream_length) +
                kInflateSlack &&
        !SectionStreamKeepsRecordRules(stream, [&](size_t record) {
          return Changed(is_home ? 0 : 1, record);
        })) {
      Problem(name + ": сжатый текст повреждён, запись в нём длиннее " +
              std::to_string(kMaxRecordLength) + " байт, без конца или сверх " +
              std::to_string(kMaxRecordNumber) + " записей");
      return true;
    }
    // Only what the stream really inflates to is committed.
    ByteBuffer text;
    if (!MakeRoomForText(stream, static_cast<size_t>(text_length), 0, &text) ||
        !InflateSection(stream, text.data(), text.size())) {
      Problem(name + ": сжатый текст повреждён или его длина не " +
              std::to_string(text_length));
      return true;
    }
    const int field_count =
        is_home ? header_.HomeFieldCount : header_.OrgFieldCount;
    const std::string_view all = text;
    size_t records = 0;
    size_t bad = 0;
    size_t start = 0;
    while (start < all.size()) {
      size_t end = all.find(static_cast<char>(kRecordEnd), start);
      const bool closed = end != std::string_view::npos;
      end = closed ? end + 1 : all.size();
      ++records;
      const std::string_view record = all.substr(start, end - start);
      start = end;
      // A record a change entry replaces is not shown, but the base part
      // must still load on its own once the changes are reset.
      const bool changed = Changed(is_home ? 0 : 1, records);
      std::string problem =
          changed ? "" : RecordProblem(record, field_count, false);
      if (problem.empty() && record.size() + kRecordGrowth > kMaxRecordLength) {
        problem =
            "запись длиннее " + std::to_string(kMaxRecordLength) + " байт";
        if (changed) {
          problem +=
              " (её заменяет изменение, но без раздела изменений "
              "база не загрузится)";
        }
      }
      if (!problem.empty() && ++bad <= kListedBadRecords) {
        Problem(name + ", запись " + std::to_string(records) + ": " + problem);
      }
    }
    if (bad > kListedBadRecords) {
      Problem(name + ": и ещё " + std::to_string(bad - kListedBadRecords) +
              " записей с ошибками");
    }
    section_records_[is_home ? 0 : 1] = records;
    return true;
  }

  // The loader takes no more reserve than it can use, but no writer sets
  // more than optimisation does.
  void CheckTableGrowth() {
    const size_t plausible = PlausibleTableGrowth(
        std::max(section_records_[0], section_records_[1]));
    if (header_.TableGrowth > 0 &&
        static_cast<size_t>(header_.TableGrowth) > plausible) {
      result_.notes.push_back(
          "TableGrowth " + std::to_string(header_.TableGrowth) +
          " неправдоподобно велик для таблиц базы (нужно не больше " +
          std::to_string(plausible) + "); загрузка берёт только нужное");
    }
  }

  void CheckChangeSection() {
    const size_t base_length = static_cast<size_t>(layout_.BasePartLength);
    if (file_.size() <= base_length + 4) return;
    const int64_t stamp = Int32At(base_length);
    if (stamp != layout_.BaseStamp) {
      Problem("изменения записаны для другой сборки базы (отметка " +
              std::to_string(stamp) + " вместо " +
              std::to_string(layout_.BaseStamp) + ") и не применяются");
      return;
    }
    if (file_.size() < base_length + 8) {
      Problem("раздел изменений обрывается");
      return;
    }
    // Unmasked in place and masked again for the load that follows, so
    // that the section is never held twice; checked as it inflates, like
    // the loader reads it: however long the stream, only one entry at a
    // time is held.
    const std::string_view masked =
        std::string_view(file_).substr(base_length + 8);
    auto* stream = reinterpret_cast<uint8_t*>(file_.data() + base_length + 8);
    MaskChangeStream(stream, masked.size());
    size_t trailing = 0;
    const bool whole = InflatePieces(
        masked, kChangePiece,
        [this](std::string_view s) { FeedChangeStream(s); }, &trailing);
    MaskChangeStream(stream, masked.size());
    if (!whole) {
      Problem("раздел изменений повреждён и не применяется");
      return;
    }
    if (trailing > 0) {
      result_.notes.push_back("после конца потока изменений ещё " +
                              std::to_string(trailing) +
                              " байт; загрузка их не читает");
    }
    EndChangeStream();
  }

  // The stream as the loader reads it, with everything it would drop or
  // that no writer of the program produces reported.
  void ChangeProblem(const std::string& text) {
    if (++bad_changes_ <= kListedBadRecords) {
      Problem("раздел изменений: " + text);
    }
  }

  void FeedChangeStream(std::string_view piece) {
    for (const char ch : piece) {
      const auto b = static_cast<uint8_t>(ch);
      if (b == 0x0A) continue;
      if (b == kTableSeparator) {
        if (++change_table_ == 2) ChangeProblem("лишний разделитель таблиц");
        continue;
      }
      if (entry_too_long_) {
        if (b == kRecordEnd) entry_too_long_ = false;
        continue;
      }
      entry_.push_back(ch);
      if (b == kRecordEnd) {
        if (change_table_ < 2) {
          CheckChangeEntry(change_table_, entry_, &last_key_[change_table_]);
        }
        entry_.clear();
      } else if (entry_.size() >= kMaxReadableChangeEntry) {
        ChangeProblem(entry_.substr(0, kChangeKeyLength) +
                      ": запись длиннее любой записи таблицы, не применяется");
        entry_.clear();
        entry_.shrink_to_fit();
        entry_too_long_ = true;
      }
    }
  }

  void EndChangeStream() {
    if (!entry_.empty() || entry_too_long_) {
      ChangeProblem("текст после последней записи");
    }
    if (change_table_ == 0) ChangeProblem("нет разделителя таблиц");
    if (bad_changes_ > kListedBadRecords) {
      Problem("раздел изменений: и ещё " +
              std::to_string(bad_changes_ - kListedBadRecords) + " ошибок");
    }
  }

  void CheckChangeEntry(int table, const std::string& entry,
                        std::string* last_key) {
    const auto problem = [this](const std::string& text) {
      ChangeProblem(text);
    };
    const char* name = table == 0 ? "квартирные" : "организации";
    if (entry.size() <= kKeySize) {
      problem(std::string(name) + ": запись короче ключа");
      return;
    }
    const std::string key = entry.substr(0, kKeySize);
    const std::string where = std::string(name) + ", " + key + ": ";
    if (entry.size() > kFormatChangeEntry) {
      // Written and read whole by this program: no fault of the base.
      result_.notes.push_back("раздел изменений: " + where + "запись длиннее " +
                              std::to_string(kFormatChangeEntry) + " байт");
    }
    const int64_t number = KeyToNumber(key);
    if (!std::all_of(key.begin(), key.end(),
                     [](char c) { return c >= '0' && c <= '9'; }) ||
        number < 1 || number > kMaxRecordNumber) {
      problem(where + "ключ не номер записи 1.." +
              std::to_string(kMaxRecordNumber));
      return;
    }
    if (!last_key->empty() && key <= *last_key) {
      problem(where + "ключи не по возрастанию или повторяются");
    }
    *last_key = key;
    const std::string_view value = std::string_view(entry).substr(kKeySize);
    if (!FitsRecord(value)) {
      problem(where + "запись длиннее " + std::to_string(kMaxRecordLength) +
              " байт, не применяется");
      return;
    }
    std::vector<bool>& changed = changed_[table];
    if (static_cast<size_t>(number) >= changed.size()) {
      changed.resize(static_cast<size_t>(number) + 1);
    }
    changed[static_cast<size_t>(number)] = true;
    if (value.size() == 1) return;  // a deletion
    const int field_count =
        table == 0 ? header_.HomeFieldCount : header_.OrgFieldCount;
    const std::string record = RecordProblem(value, field_count, true);
    if (!record.empty()) problem(where + record);
  }

  // The loader must agree, and leave well-formed working tables.
  void CheckLoad() {
    RecordStore store;
    const Status status = LoadBaseFromBytes(std::move(file_), &store);
    if (!status.ok()) {
      Problem("база не загружается: " +
              StatusMessage(status, BaseAction::kLoading, "").text);
      return;
    }
    const TableId tables[] = {TableId::kHome, TableId::kOrg};
    for (const TableId id : tables) {
      const Table& t = store.table(id);
      const std::string name = id == TableId::kHome
                                   ? "после загрузки, квартирные телефоны"
                                   : "после загрузки, телефоны организаций";
      size_t records = 0;
      uint32_t last_number = 0;
      for (size_t p = 1; p < t.used;) {
        const size_t length = t.LengthAt(p);
        if (length <= kRecordHeadSize || p + length - 1 > t.used) {
          Problem(name + ": заголовок записи в позиции " + std::to_string(p) +
                  " указывает за таблицу");
          break;
        }
        const std::string problem =
            RecordProblem(t.TextAt(p), store.FieldCount(id), true);
        if (!problem.empty()) {
          Problem(name + ", позиция " + std::to_string(p) + ": " + problem);
          break;
        }
        if (t.NumberAt(p) <= last_number) {
          Problem(name + ", позиция " + std::to_string(p) +
                  ": номера записей не по возрастанию");
          break;
        }
        last_number = t.NumberAt(p);
        ++records;
        p += length;
      }
      (id == TableId::kHome ? result_.home_records : result_.org_records) =
          records;
    }
    result_.changes = store.HomeChanges.size() + store.OrgChanges.size();
  }

  std::string file_;
  BaseFileLayout layout_;
  BaseHeader header_;
  BaseCheck result_;
  // By record number: whether a change replaces the record.
  std::vector<bool> changed_[2];
  size_t section_records_[2] = {0, 0};
  // Reading the change stream.
  int change_table_ = 0;
  std::string entry_;
  bool entry_too_long_ = false;
  std::string last_key_[2];
  size_t bad_changes_ = 0;
};

}  // namespace

BaseCheck CheckBaseFile(std::string file) {
  return Checker(std::move(file)).Run();
}

}  // namespace spravka::cli
