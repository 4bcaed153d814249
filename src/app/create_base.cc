// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/create_base.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <memory>

#include "app/town_names.h"
#include "storage/base_file.h"
#include "storage/cp1251.h"
#include "util/paths.h"

namespace spravka {
namespace {

// Windows-1251 of a UTF-8 literal the program itself holds.
std::string Cp1251(std::string_view utf8) {
  return Utf8ToCp1251(utf8).value_or(std::string());
}

constexpr char kNewBaseTitle[] = "Телефонный справочник";
constexpr char kDefaultName[] = "Новый справочник";
constexpr char kDefaultCaption[] = "Телефонный cправочник";  // Latin "c"

constexpr std::string_view kForbiddenCharacters = "/\\<>:\"|?*";

constexpr char kTryAnotherName[] = "\r\nВведите другое имя.";

// Control characters, and the one byte of the code page that stands for
// no character (it becomes a control character in Unicode).
bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F || c == 0x98; }

// Device names that Windows gives no file, whatever extension follows.
bool IsDeviceName(std::string_view name) {
  std::string_view stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  std::string upper(stem);
  for (char& c : upper) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  static constexpr std::array<std::string_view, 4> kDevices = {"CON", "PRN",
                                                               "AUX", "NUL"};
  if (std::find(kDevices.begin(), kDevices.end(), upper) != kDevices.end()) {
    return true;
  }
  return upper.size() == 4 &&
         (upper.starts_with("COM") || upper.starts_with("LPT")) &&
         upper[3] >= '1' && upper[3] <= '9';
}

}  // namespace

NewBaseParams DefaultNewBaseParams() {
  NewBaseParams params;
  params.name = Cp1251(kDefaultName);
  params.caption = Cp1251(kDefaultCaption);
  return params;
}

std::string NewBaseName(std::string_view typed_name) {
  std::string name = TrimBlanks(typed_name.substr(0, kBaseNameLimit));
  return name.empty() ? std::string(kBlankBaseName) : name;
}

std::optional<std::string> CheckBaseName(std::string_view name) {
  const std::string shown = Cp1251ToUtf8(name);
  if (name.empty()) {
    return std::string("Имя базы не задано.") + kTryAnotherName;
  }
  if (std::any_of(name.begin(), name.end(), [](char c) {
        return IsControl(static_cast<unsigned char>(c));
      })) {
    return std::string("Имя базы не может содержать управляющие символы.") +
           kTryAnotherName;
  }
  if (name.find_first_of(kForbiddenCharacters) != std::string_view::npos) {
    return std::string(
               "Имя базы не может содержать знаки\r\n"
               "\\ / : * ? \" < > |") +
           kTryAnotherName;
  }
  if (name == "." || name == "..") {
    return "Имя базы \"" + shown + "\" обозначает папку." + kTryAnotherName;
  }
  if (IsDeviceName(name)) {
    return "Имя \"" + shown +
           "\" зарезервировано системой\r\n"
           "и не может быть именем базы." +
           kTryAnotherName;
  }
  return std::nullopt;
}

std::string NewBasePath(const std::string& working_folder,
                        const std::string& name) {
  return JoinPath(working_folder, name + ".qz");
}

std::string ReplaceBaseQuestion(std::string_view name) {
  return "База " + std::string(name) + ".qz" + "\r\n" +
         "  уже существует. Заменить её?";
}

BaseHeader NewBaseHeader(const NewBaseParams& params) {
  BaseHeader header;  // every byte 0, both tags "A"
  header.Title = Cp1251(kNewBaseTitle);
  header.Caption = params.caption.substr(0, kCaptionLimit);
  header.NumberLength =
      std::clamp(params.number_length, kMinNumberLength, kMaxNumberLength);
  header.TableGrowth = kNewBaseTableGrowth;
  // Number and subscriber, number and organisation, are always there.
  ApplyNewBaseLayout(params.home_fields | kFixedHomeFields,
                     params.org_fields | kFixedOrgFields, &header);
  header.OriginTag.clear();
  header.Description = params.description.substr(0, kDescriptionLimit);
  return header;
}

Status CreateBase(const NewBaseParams& params,
                  const std::optional<std::string>& base_template,
                  const std::string& working_folder, FileSystem& fs,
                  CreatedBase* made) {
  *made = CreatedBase();
  if (!base_template || base_template->size() < kHeaderOffset + kHeaderSize) {
    return Status::Ok();
  }
  const std::string name = NewBaseName(params.name);
  made->refusal = CheckBaseName(name);
  if (made->refusal) return Status::Ok();
  made->name = Cp1251ToUtf8(name);

  std::string file = *base_template;
  const HeaderBytes header = NewBaseHeader(params).ToFile();
  std::copy(header.begin(), header.end(), file.begin() + kHeaderOffset);
  const std::string path = NewBasePath(working_folder, made->name);
  std::unique_ptr<FileLock> lock;
  Status status =
      fs.LockForWriting(path, &lock, FileSystem::LockTarget::kNewBase);
  if (status.ok()) status = fs.ReplaceFile(path, file);
  made->created = status.ok();
  return status;
}

}  // namespace spravka
