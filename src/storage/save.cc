#include "storage/save.h"

#include <algorithm>
#include <cstring>

#include "storage/base_file.h"
#include "storage/byte_order.h"
#include "storage/keystream.h"

namespace spravka {
namespace {

Status ReadLayout(FileSystem& fs, const std::string& path, std::string* file,
                  BaseFileLayout* layout) {
  Status status = fs.ReadFile(path, file);
  if (!status.ok()) return status;
  std::string reason;
  if (!ReadBaseFileLayout(*file, layout, &reason)) {
    return Status::Error("Ошибка чтения файла " + path + ": " + reason);
  }
  return Status::Ok();
}

}  // namespace

Status SaveChanges(const std::string& path, const RecordStore& store,
                   FileSystem& fs) {
  const std::string section =
      WriteChangeSection(store.BaseStamp, store.HomeChanges, store.OrgChanges);
  Status status = fs.MakeWritable(path);
  if (!status.ok()) return status;
  std::string file;
  BaseFileLayout layout;
  status = ReadLayout(fs, path, &file, &layout);
  if (!status.ok()) return status;
  file.resize(layout.BasePartLength);
  file.append(section);
  return fs.ReplaceFile(path, file);
}

SaveWidthsReport SaveColumnWidths(const std::string& path,
                                  const std::array<int32_t, kHomeKinds>& home,
                                  const std::array<int32_t, kOrgKinds>& org,
                                  RecordStore* store, FileSystem& fs) {
  SaveWidthsReport report;
  const auto fail = [&report](const Status& status) {
    report.status = SaveWidthsStatus::kIoError;
    report.error_text = status.message();
    return report;
  };
  Status status = fs.MakeWritable(path);
  if (!status.ok()) return fail(status);
  std::string file;
  BaseFileLayout layout;
  status = ReadLayout(fs, path, &file, &layout);
  if (!status.ok()) return fail(status);

  HeaderBytes bytes;
  std::memcpy(bytes.data(), file.data() + layout.header_offset, kHeaderSize);
  ScrambleHeader(bytes.data());
  if (bytes[734] != bytes[0]) {
    report.status = SaveWidthsStatus::kDamagedHeader;
    return report;
  }
  BaseHeader& h = store->header;
  const int home_columns = std::clamp(h.HomeFieldCount, 0, kHomeKinds);
  const int org_columns = std::clamp(h.OrgFieldCount, 0, kOrgKinds);
  for (int c = 0; c < home_columns; ++c) {
    WriteInt32(&bytes[kHomeColWidthsOffset + 4 * c], home[c]);
  }
  for (int c = 0; c < org_columns; ++c) {
    WriteInt32(&bytes[kOrgColWidthsOffset + 4 * c], org[c]);
  }
  ScrambleHeader(bytes.data());
  // The whole file is rewritten beside the old one and renamed into place:
  // a header written in place could be left half old, half new.
  std::memcpy(file.data() + layout.header_offset, bytes.data(), kHeaderSize);
  status = fs.ReplaceFile(path, file);
  if (!status.ok()) return fail(status);
  std::copy_n(home.begin(), home_columns, h.HomeColWidths.begin());
  std::copy_n(org.begin(), org_columns, h.OrgColWidths.begin());
  return report;
}

}  // namespace spravka
