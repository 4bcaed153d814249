// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/inform_text.h"

#include <algorithm>
#include <cstdint>

#include "storage/keystream.h"

namespace spravka {
namespace {
constexpr uint32_t kInformSeed = 7851;
constexpr uint32_t kInformRange = 30;

// Writes `text` into line `place`, its middle under the middle of the
// title (blanks before it, none if it is wider than the title allows).
void PlaceUnderTitle(size_t place, std::string_view text,
                     std::vector<std::string>* lines) {
  if (lines->size() <= place) lines->resize(place + 1);
  const std::string& title = (*lines)[0];
  const size_t title_start =
      std::min(title.find_first_not_of(' '), title.size());
  const size_t twice_centre = title_start + title.size();
  const size_t indent =
      twice_centre > text.size() ? (twice_centre - text.size()) / 2 : 0;
  (*lines)[place] = std::string(indent, ' ') + std::string(text);
}

}  // namespace

std::vector<std::string> UnscrambleInformText(std::vector<std::string> lines) {
  Keystream keys(kInformSeed);  // one stream through all lines
  for (std::string& line : lines) {
    for (char& c : line) c = static_cast<char>(c ^ keys.Next(kInformRange));
  }
  return lines;
}

void PlaceVersion(std::string_view version, std::vector<std::string>* lines) {
  constexpr char kVersionWord[] = "\xE2\xE5\xF0\xF1\xE8\xFF ";  // "версия "
  PlaceUnderTitle(kVersionLine, kVersionWord + std::string(version), lines);
}

void PlaceLicence(std::vector<std::string>* lines) {
  // "лицензия GNU GPL версии 3 или новее"
  constexpr char kLicence[] =
      "\xEB\xE8\xF6\xE5\xED\xE7\xE8\xFF GNU GPL \xE2\xE5\xF0\xF1\xE8\xE8 3 "
      "\xE8\xEB\xE8 \xED\xEE\xE2\xE5\xE5";
  PlaceUnderTitle(kLicenceLine, kLicence, lines);
}

void PlaceDescription(const std::string& description,
                      std::vector<std::string>* lines) {
  auto at = [&](size_t i) {
    return lines->begin() + static_cast<ptrdiff_t>(i);
  };
  const size_t place = kDescriptionLine;
  while (lines->size() > place &&
         (*lines)[place].find(kDescriptionMarker) == std::string::npos) {
    lines->erase(at(place));
  }
  if (lines->size() < place) lines->resize(place);
  lines->insert(at(place), "");
  lines->insert(at(place), description);
}

const std::vector<std::string>& NewBaseHelpText() {
  static const std::vector<std::string> text = {
      "В этом окне задаются параметры новой",
      "                         телефонной базы.",
      "",
      " Поле \"Имя базы\" задает наименование файла ",
      "базы и имя, появляющееся в списке городов. ",
      "",
      "Значение поля \"Количество цифр в номере\"",
      "используется при поиске абонента по номеру",
      "телефона для автоматического переключения",
      "между базами организаций и квартирных",
      "телефонов.",
      "",
      "Поле \"Заголовок окна программы\" задает",
      "текст в заголовке окна программы при",
      "загрузке данной базы. ",
      "",
      "Поле \"Описание\" преднозначено для ввода",
      "информации о базе, отображающейся в окне",
      "\"Информация\" и в подсказке, появляющейся",
      "при задержке мышки на строке выбора",
      "города.",
      "",
      "Области \"Поля для квартирных телефонов\"",
      "и \"Поля для телефонов организаций\" служат",
      "для определения полей в новой базе данных. ",
  };
  return text;
}

}  // namespace spravka
