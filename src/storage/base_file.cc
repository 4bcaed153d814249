#include "storage/base_file.h"

#include <cstring>

#include "storage/byte_order.h"
#include "storage/change_stream.h"
#include "storage/keystream.h"
#include "storage/zlib_codec.h"

namespace spravka {
namespace {

void AppendSection(std::string_view text, void (*scramble)(uint8_t*, size_t),
                   std::string* out) {
  std::string stream = Compress(text);
  scramble(reinterpret_cast<uint8_t*>(stream.data()), stream.size());
  AppendInt32(out, static_cast<int32_t>(text.size()));
  AppendInt32(out, static_cast<int32_t>(stream.size()));
  out->append(stream);
}

}  // namespace

std::string WriteBasePart(const BaseHeader& header, int32_t stamp,
                          std::string_view home_text,
                          std::string_view org_text) {
  BaseHeader tagged = header;
  tagged.FormatTag = kFormatLetter;
  tagged.CheckTag = kFormatLetter;
  const HeaderBytes header_bytes = tagged.ToFile();

  std::string out(4, '\0');  // BasePartLength, filled in last
  out.append(reinterpret_cast<const char*>(header_bytes.data()), kHeaderSize);
  AppendInt32(&out, stamp);
  AppendSection(home_text, ScrambleHomeStream, &out);
  AppendSection(org_text, ScrambleOrgStream, &out);
  AppendInt32(&out, static_cast<int32_t>(out.size()) - kHeaderDistanceBias);
  AppendInt32(&out, stamp);
  WriteInt32(reinterpret_cast<uint8_t*>(out.data()), static_cast<int32_t>(out.size()));
  return out;
}

std::string WriteChangeSection(int32_t stamp, const ChangeList& home,
                               const ChangeList& org) {
  return WriteChangeSectionFromStream(stamp, BuildChangeStream(home, org));
}

std::string WriteChangeSectionFromStream(int32_t stamp, std::string_view stream) {
  std::string masked = Compress(stream);
  MaskChangeStream(reinterpret_cast<uint8_t*>(masked.data()), masked.size());
  std::string out;
  out.reserve(masked.size() + 8);
  AppendInt32(&out, stamp);
  AppendInt32(&out, static_cast<int32_t>(stream.size()));
  out.append(masked);
  return out;
}

std::string StripRecordHeads(const Table& table, size_t* record_count) {
  std::string text;
  text.reserve(table.used);
  size_t count = 0;
  for (size_t p = 1; p < table.used; p += table.LengthAt(p)) {
    const std::string_view record = table.TextAt(p);
    // The section leaves out the tag of column 1; the next load puts it back.
    // A record that lacks it (a change entry from elsewhere) keeps every byte.
    text.append(record.substr(record.front() == '\x01' ? 1 : 0));
    ++count;
  }
  if (record_count) *record_count = count;
  return text;
}

bool ReadBaseFileLayout(std::string_view file, BaseFileLayout* layout,
                        std::string* reason) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(file.data());
  constexpr int64_t kMinimumPart = kHeaderOffset + kHeaderSize + 4 + kTrailerSize;
  if (file.size() < kMinimumPart) {
    *reason = "файл короче заголовка базы";
    return false;
  }
  const int64_t part_length = ReadInt32(bytes);
  if (part_length < kMinimumPart || part_length > static_cast<int64_t>(file.size())) {
    *reason = "длина основной части базы указывает за конец файла";
    return false;
  }
  const int64_t distance = ReadInt32(bytes + part_length - kTrailerSize);
  const int64_t header_offset = part_length - distance - static_cast<int64_t>(kHeaderSize);
  // The header and the residential block's stamp lie inside the base part.
  if (header_offset < 0 ||
      header_offset + static_cast<int64_t>(kHeaderSize) + 4 >
          part_length - static_cast<int64_t>(kTrailerSize)) {
    *reason = "положение заголовка указывает за пределы основной части";
    return false;
  }
  layout->BasePartLength = static_cast<int32_t>(part_length);
  layout->HeaderDistance = static_cast<int32_t>(distance);
  layout->BaseStamp = ReadInt32(bytes + part_length - 4);
  layout->header_offset = static_cast<size_t>(header_offset);
  layout->has_change_section = file.size() > static_cast<size_t>(part_length) + 4;
  return true;
}

}  // namespace spravka
