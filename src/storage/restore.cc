#include "storage/restore.h"

#include "storage/base_file.h"

namespace spravka {

Status RestoreBasePart(const std::string& path, FileSystem& fs) {
  Status status = fs.MakeWritable(path);
  if (!status.ok()) return status;
  std::string file;
  status = fs.ReadFile(path, &file);
  if (!status.ok()) return status;
  BaseFileLayout layout;
  std::string reason;
  if (!ReadBaseFileLayout(file, &layout, &reason)) {
    return Status::Error("Ошибка чтения файла " + path + ": " + reason);
  }
  const size_t base_part = static_cast<size_t>(layout.BasePartLength);
  if (file.size() == base_part) return Status::Ok();  // nothing to cut
  file.resize(base_part);
  return fs.ReplaceFile(path, file);
}

}  // namespace spravka
