// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/base_check.h"

#include <gtest/gtest.h>

#include <string>

#include "app/rules/new_base_layout.h"
#include "storage/base_file.h"
#include "storage/base_template.h"
#include "storage/byte_order.h"
#include "storage/change_stream.h"
#include "storage/keystream.h"
#include "storage/zlib_codec.h"

namespace spravka::cli {
namespace {

constexpr int32_t kStamp = 1234;

// Three fields a table: number, subscriber (organisation), district.
BaseHeader SmallHeader() {
  BaseHeader header;
  ApplyNewBaseLayout(0b100'0011, 0b1000'0011, &header);
  header.TableGrowth = 100000;
  return header;
}

const char kHomeText[] =
    "1\2a\3x\x1F"
    "2\2b\3y\x1F"
    "3\2c\3z\x1F";
const char kOrgText[] = "9\2o\3x\x1F";

std::string SoundBase() {
  return WriteBasePart(SmallHeader(), kStamp, kHomeText, kOrgText);
}


std::string StampBytes() {
  std::string out;
  AppendInt32(&out, kStamp);
  return out;
}

std::string Joined(const BaseCheck& check) {
  std::string all;
  for (const std::string& p : check.problems) all += p + "\n";
  return all;
}

TEST(BaseCheckTest, SoundBasesPass) {
  ChangeList home;
  home.Add(1, "\x1F");  // deleted
  home.Add(2,
           "\1"
           "2\2B\3Y\x1F");  // rewritten
  home.Add(4,
           "\1"
           "4\2d\3w\x1F");  // added
  const std::string with_changes =
      SoundBase() + WriteChangeSection(kStamp, home, ChangeList());
  const BaseCheck check = CheckBaseFile(with_changes);
  EXPECT_TRUE(check.problems.empty()) << Joined(check);
  EXPECT_EQ(check.home_records, 3u);
  EXPECT_EQ(check.org_records, 1u);
  EXPECT_EQ(check.changes, 3u);

  // An entry longer than the format's 250 bytes is written and read whole
  // by this program: worth a note, not a fault.
  ChangeList long_entry;
  long_entry.Add(2, "\1" "2\2" + std::string(300, 'B') + "\3Y\x1F");
  const BaseCheck long_check =
      CheckBaseFile(SoundBase() + WriteChangeSection(kStamp, long_entry, ChangeList()));
  EXPECT_TRUE(long_check.problems.empty()) << Joined(long_check);
  ASSERT_EQ(long_check.notes.size(), 1u);
  EXPECT_NE(long_check.notes[0].find("0000002: запись длиннее 250"), std::string::npos)
      << long_check.notes[0];

  // A reserve larger than any writer sets: the loader takes only what it
  // can use, and the check says so.
  BaseHeader greedy = SmallHeader();
  greedy.TableGrowth = 0x7FFFFFFF;
  const BaseCheck greedy_check =
      CheckBaseFile(WriteBasePart(greedy, kStamp, kHomeText, kOrgText));
  EXPECT_TRUE(greedy_check.problems.empty()) << Joined(greedy_check);
  ASSERT_EQ(greedy_check.notes.size(), 1u);
  EXPECT_NE(greedy_check.notes[0].find("TableGrowth 2147483647 неправдоподобно велик"),
            std::string::npos)
      << greedy_check.notes[0];
  EXPECT_EQ(greedy_check.home_records, 3u);

  // Bytes after the end of the change stream are read by no load: a note.
  const std::string stream = BuildChangeStream(home, ChangeList());
  std::string body = Compress(stream) + std::string(5000, 'x');
  MaskChangeStream(reinterpret_cast<uint8_t*>(body.data()), body.size());
  std::string appended = SoundBase() + StampBytes();
  AppendInt32(&appended, static_cast<int32_t>(stream.size()));
  appended += body;
  const BaseCheck appended_check = CheckBaseFile(appended);
  EXPECT_TRUE(appended_check.problems.empty()) << Joined(appended_check);
  ASSERT_EQ(appended_check.notes.size(), 1u);
  EXPECT_NE(appended_check.notes[0].find(
                "после конца потока изменений ещё 5000 байт"),
            std::string::npos)
      << appended_check.notes[0];

  // A few stray bytes behind the base part are no change section.
  EXPECT_TRUE(CheckBaseFile(SoundBase() + "abcd").problems.empty());

  // A new base: the template with its placeholders deleted.
  std::string fresh = BaseTemplate();
  const HeaderBytes header = SmallHeader().ToFile();
  fresh.replace(kHeaderOffset, kHeaderSize,
                reinterpret_cast<const char*>(header.data()), kHeaderSize);
  const BaseCheck fresh_check = CheckBaseFile(fresh);
  EXPECT_TRUE(fresh_check.problems.empty()) << Joined(fresh_check);
  EXPECT_EQ(fresh_check.home_records, 0u);
  EXPECT_EQ(fresh_check.changes, 2u);
}

TEST(BaseCheckTest, FindsWhatIsWrong) {
  const std::string sound = SoundBase();
  auto flipped = [&](size_t offset) {
    std::string file = sound;
    file[offset] = static_cast<char>(file[offset] ^ 0x55);
    return file;
  };
  BaseHeader odd_counts = SmallHeader();
  odd_counts.HomeFieldCount = 4;

  struct Case {
    const char* name;
    std::string file;
    const char* finding;
  };
  const Case cases[] = {
      {"cut short", sound.substr(0, sound.size() - 10), "длина основной"},
      {"check tag", flipped(kHeaderOffset + 734), "Поврежден заголовок"},
      {"field count", WriteBasePart(odd_counts, kStamp, kHomeText, kOrgText),
       "HomeFieldCount 4"},
      {"stamp before the tables", flipped(kHeaderOffset + kHeaderSize),
       "отметка сборки"},
      {"residential stream", flipped(kHeaderOffset + kHeaderSize + 12 + 3),
       "квартирные телефоны: сжатый текст повреждён"},
      {"record without a tag",
       WriteBasePart(SmallHeader(), kStamp, "1\2a\x1F", kOrgText),
       "квартирные телефоны, запись 1: полей 2, а в таблице 3"},
      {"text without terminator",
       WriteBasePart(SmallHeader(), kStamp, kHomeText, "9\2o\3x"),
       "телефоны организаций, запись 1: запись не кончается"},
      {"foreign change section", sound + WriteChangeSectionFromStream(kStamp + 1, "\x1E"),
       "другой сборки"},
      {"damaged change section", sound + StampBytes() + "garbage!garbage!",
       "раздел изменений повреждён"},
      {"change with a missing field",
       sound + WriteChangeSectionFromStream(kStamp, "0000002\1b\2y\x1F\x1E"),
       "квартирные, 0000002: полей 2"},
      {"changes out of order",
       sound + WriteChangeSectionFromStream(kStamp,
                                "0000003\x1F"
                                "0000002\x1F\x1E"),
       "не по возрастанию"},
      {"change key not a number",
       sound + WriteChangeSectionFromStream(kStamp,
                                "\x1E"
                                "00a0001\x1F"),
       "организации, 00a0001: ключ не номер записи"},
      {"third table", sound + WriteChangeSectionFromStream(kStamp, "\x1E\x1E"),
       "лишний разделитель"},
      {"change that no record can hold",
       sound + WriteChangeSectionFromStream(
                   kStamp, "0000002" + std::string(65529, 'b') + "\x1F\x1E"),
       "квартирные, 0000002: запись длиннее 65535 байт, не применяется"},
      {"over-long record a change entry hides",
       WriteBasePart(SmallHeader(), kStamp,
                     std::string("1\2a\3x\x1F" "2\2") + std::string(65535, 'b') + "\3y\x1F",
                     kOrgText) +
           WriteChangeSectionFromStream(kStamp, "0000002\1" "2\2b\3y\x1F\x1E"),
       "квартирные телефоны, запись 2: запись длиннее 65535 байт (её заменяет "
       "изменение"},
      {"change entry without end",
       sound + WriteChangeSectionFromStream(kStamp, "\x1E" "0000001" + std::string(70000, 'b')),
       "0000001: запись длиннее любой записи таблицы"},
  };
  for (const Case& c : cases) {
    const BaseCheck check = CheckBaseFile(c.file);
    EXPECT_NE(Joined(check).find(c.finding), std::string::npos)
        << c.name << ":\n"
        << Joined(check);
  }
}

}  // namespace
}  // namespace spravka::cli
