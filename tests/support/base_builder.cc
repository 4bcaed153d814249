// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/base_builder.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "storage/base_file.h"
#include "util/paths.h"

namespace spravka::testing {

BaseHeader HeaderWithKinds(int home_kinds, int org_kinds) {
  BaseHeader h;
  h.Title = "Test";
  h.Caption = "Test town";
  h.NumberLength = 6;
  h.HomeFieldCount = home_kinds;
  h.OrgFieldCount = org_kinds;
  h.TableGrowth = 1000;
  h.HomeFields = static_cast<uint8_t>((1 << home_kinds) - 1);
  h.OrgFields = static_cast<uint16_t>((1 << org_kinds) - 1);
  for (int k = 0; k < kHomeKinds; ++k) {
    h.HomeEditPlaces[k] = {10 + 70 * k, 20 + 70 * k, 50};
    h.HomeColWidths[k] = 60;
  }
  for (int k = 0; k < kOrgKinds; ++k) {
    h.OrgEditPlaces[k] = {10 + 60 * k, 20 + 60 * k, 40};
    h.OrgColWidths[k] = 50;
  }
  return h;
}

BaseHeader FullHeader() { return HeaderWithKinds(kHomeKinds, kOrgKinds); }

std::string SectionText(const std::vector<Fields>& records) {
  std::string text;
  for (const Fields& fields : records) text += RecordText(fields).substr(1);
  return text;
}

std::string RecordText(const Fields& fields) {
  std::string text;
  for (size_t c = 0; c < fields.size(); ++c) {
    text.push_back(static_cast<char>(c + 1));
    text += fields[c];
  }
  text.push_back('\x1F');
  return text;
}

std::string MakeBaseFile(const std::vector<Fields>& home,
                         const std::vector<Fields>& org, int32_t stamp,
                         const ChangeList* home_changes,
                         const ChangeList* org_changes) {
  const size_t home_kinds = home.empty() ? kHomeKinds : home.front().size();
  const size_t org_kinds = org.empty() ? kOrgKinds : org.front().size();
  std::string file = WriteBasePart(HeaderWithKinds(static_cast<int>(home_kinds),
                                                   static_cast<int>(org_kinds)),
                                   stamp, SectionText(home), SectionText(org));
  if (home_changes || org_changes) {
    const ChangeList none;
    file += WriteChangeSection(stamp, home_changes ? *home_changes : none,
                               org_changes ? *org_changes : none);
  }
  return file;
}

std::string WithOriginTag(std::string file, const std::string& tag) {
  BaseFile base;
  if (!ParseBaseFile(std::move(file), &base).ok()) {
    throw std::runtime_error("not a base file");
  }
  BaseHeader header = base.header;
  header.OriginTag = tag;
  base.PutHeader(header);
  return std::move(base.bytes);
}

std::vector<Fields> TableRecords(const Table& table, int field_count) {
  std::vector<Fields> records;
  for (size_t p = 1; p < table.used; p += table.LengthAt(p)) {
    Fields fields;
    for (int c = 1; c <= field_count; ++c) {
      fields.emplace_back(FieldOf(table.TextAt(p), c));
    }
    records.push_back(fields);
  }
  return records;
}

std::string UsedBytes(const Table& table) {
  return std::string(table.bytes.data(), table.used + 1);
}

std::vector<uint32_t> TableNumbers(const Table& table) {
  std::vector<uint32_t> numbers;
  for (size_t p = 1; p < table.used; p += table.LengthAt(p)) {
    numbers.push_back(table.NumberAt(p));
  }
  return numbers;
}

namespace {

struct TempRoot {
  std::filesystem::path path;
  // A new folder of a random name: one that is made here, not found.
  TempRoot() {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
      path = std::filesystem::temp_directory_path() /
             ("spravka-test-" + std::to_string(random()));
      if (std::filesystem::create_directory(path)) return;
    }
    throw std::runtime_error("cannot make a temporary folder");
  }
  ~TempRoot() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

}  // namespace

std::string TempDir() {
  static TempRoot root;
  static int counter = 0;
  const auto dir = root.path / std::to_string(++counter);
  std::filesystem::create_directories(dir);
  return Utf8FromPath(dir);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(PathFromUtf8(path), std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

}  // namespace spravka::testing
