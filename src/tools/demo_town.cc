// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/demo_town.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "app/rules/new_base_layout.h"
#include "storage/base_section.h"
#include "storage/cp1251.h"
#include "storage/optimiser.h"

namespace spravka {
namespace {

// Word lists, written here in UTF-8 and turned into Windows-1251 once.

constexpr std::string_view kSurnames[] = {
    "Иванов",         "Смирнов",     "Кузнецов",   "Попов",      "Васильев",
    "Петров",         "Соколов",     "Михайлов",   "Новиков",    "Федоров",
    "Морозов",        "Волков",      "Алексеев",   "Лебедев",    "Семенов",
    "Егоров",         "Павлов",      "Козлов",     "Степанов",   "Николаев",
    "Орлов",          "Андреев",     "Макаров",    "Никитин",    "Захаров",
    "Зайцев",         "Соловьев",    "Борисов",    "Яковлев",    "Григорьев",
    "Романов",        "Воробьев",    "Сергеев",    "Кузьмин",    "Фролов",
    "Александров",    "Дмитриев",    "Королев",    "Гусев",      "Киселев",
    "Ильин",          "Максимов",    "Поляков",    "Сорокин",    "Виноградов",
    "Ковалев",        "Белов",       "Медведев",   "Антонов",    "Тарасов",
    "Жуков",          "Баранов",     "Филиппов",   "Комаров",    "Давыдов",
    "Беляев",         "Герасимов",   "Богданов",   "Осипов",     "Сидоров",
    "Матвеев",        "Титов",       "Марков",     "Миронов",    "Крылов",
    "Куликов",        "Карпов",      "Власов",     "Мельников",  "Денисов",
    "Гаврилов",       "Тихонов",     "Казаков",    "Афанасьев",  "Данилов",
    "Савельев",       "Тимофеев",    "Фомин",      "Чернов",     "Абрамов",
    "Мартынов",       "Ефимов",      "Федотов",    "Щербаков",   "Назаров",
    "Калинин",        "Исаев",       "Чернышев",   "Быков",      "Маслов",
    "Родионов",       "Коновалов",   "Лазарев",    "Воронин",    "Климов",
    "Филатов",        "Пономарев",   "Голубев",    "Кудрявцев",  "Прохоров",
    "Наумов",         "Потапов",     "Журавлев",   "Овчинников", "Трофимов",
    "Леонов",         "Соболев",     "Ермаков",    "Колесников", "Гончаров",
    "Емельянов",      "Никифоров",   "Грачев",     "Котов",      "Гришин",
    "Ефремов",        "Архипов",     "Громов",     "Кириллов",   "Малышев",
    "Панов",          "Моисеев",     "Румянцев",   "Акимов",     "Кондратьев",
    "Бирюков",        "Горбунов",    "Анисимов",   "Еремин",     "Тихомиров",
    "Галкин",         "Лукьянов",    "Михеев",     "Скворцов",   "Юдин",
    "Белоусов",       "Нестеров",    "Симонов",    "Прокофьев",  "Харитонов",
    "Князев",         "Цветков",     "Левин",      "Митрофанов", "Воронов",
    "Аксенов",        "Софронов",    "Мальцев",    "Логинов",    "Горшков",
    "Савин",          "Краснов",     "Майоров",    "Демидов",    "Елисеев",
    "Рыбаков",        "Сафонов",     "Плотников",  "Демин",      "Хохлов",
    "Жданов",         "Носков",      "Успенский",  "Вишневский", "Покровский",
    "Преображенский", "Березовский", "Троицкий",   "Зеленский",  "Островский",
    "Толстой",        "Шевченко",    "Бондаренко", "Коваленко",  "Ткаченко",
    "Кравченко",      "Черных",      "Седых",      "Долгих",     "Белых",
    "Мороз",          "Гуревич",
};

// First letters of given names and patronymics, the common ones repeated
// so that they come up more often.
constexpr std::string_view kInitials[] = {
    "А", "А", "А", "В", "В", "В", "Н", "Н", "С", "С", "С", "Е", "Е",
    "Т", "И", "И", "Л", "Л", "Г", "Г", "М", "М", "М", "О", "О", "Д",
    "Ю", "П", "Р", "К", "Я", "Ф", "Б", "Э", "Ж", "З", "Р", "Ю",
};

constexpr std::string_view kStreets[] = {
    "Ленина",          "Советская",     "Мира",          "Гагарина",
    "Пушкина",         "Молодежная",    "Школьная",      "Садовая",
    "Лесная",          "Набережная",    "Центральная",   "Заводская",
    "Кирова",          "Октябрьская",   "Первомайская",  "Комсомольская",
    "Чапаева",         "Строителей",    "Победы",        "Горького",
    "Московская",      "Пролетарская",  "Полевая",       "Новая",
    "Озерная",         "Береговая",     "Луговая",       "Южная",
    "Северная",        "Восточная",     "Западная",      "Вокзальная",
    "Железнодорожная", "Мичурина",      "Гоголя",        "Лермонтова",
    "Чехова",          "Толстого",      "Некрасова",     "Маяковского",
    "Фрунзе",          "Калинина",      "Дзержинского",  "Свердлова",
    "Кутузова",        "Суворова",      "Энгельса",      "Маркса",
    "Куйбышева",       "Жукова",        "Космонавтов",   "Матросова",
    "Островского",     "Циолковского",  "Ломоносова",    "Менделеева",
    "Рабочая",         "Трудовая",      "Зеленая",       "Солнечная",
    "Весенняя",        "Парковая",      "Речная",        "Березовая",
    "Сосновая",        "Рябиновая",     "Вишневая",      "Цветочная",
    "Спортивная",      "Юбилейная",     "Дружбы",        "Коммунистическая",
    "Кооперативная",   "Почтовая",      "Больничная",    "Фабричная",
    "Элеваторная",     "Нагорная",      "Подгорная",     "Заречная",
    "пр. Мира",        "пр. Ленина",    "пр. Победы",    "пер. Почтовый",
    "пер. Школьный",   "пер. Садовый",  "пер. Лесной",   "б-р Космонавтов",
    "б-р Строителей",  "пл. Революции", "ш. Московское",
};

// Short enough for the narrow district column.
constexpr std::string_view kDistricts[] = {
    "Центр",   "Заречье", "Северный", "Южный", "Ленинский", "Кировский",
    "Садовый", "Вокзал",  "Посёлок",  "Мкр-1", "Мкр-2",
};

constexpr std::string_view kLetters[] = {"а", "б", "в", "г"};

// One kind of organisation: its name, whether it carries a number ("Школа
// № 12") or a quoted name ("Магазин «Хлеб»"), and its departments. An empty
// department is the organisation's own line.
struct OrgKind {
  std::string_view name;
  bool numbered;
  bool has_offices;
  std::vector<std::string_view> departments;
  int weight;
};

const std::vector<OrgKind>& OrgKindsUtf8() {
  static const std::vector<OrgKind> kinds = {
      {"Школа",
       true,
       true,
       {"Директор", "Приёмная", "Учительская", "Завуч", "Бухгалтерия", "Вахта",
        "Столовая"},
       8},
      {"Детский сад",
       true,
       false,
       {"Заведующая", "Методист", "Медкабинет", "Кухня"},
       8},
      {"Городская поликлиника",
       true,
       true,
       {"Регистратура", "Главный врач", "Справочная", "Вызов врача на дом",
        "Процедурный кабинет", "Лаборатория", "Неотложная помощь"},
       3},
      {"Больница",
       true,
       true,
       {"Приёмный покой", "Главный врач", "Справочная",
        "Хирургическое отделение", "Терапевтическое отделение",
        "Родильное отделение"},
       1},
      {"Аптека", true, false, {"", "Заведующая"}, 6},
      {"Почтовое отделение", true, false, {"Начальник", "Операторы"}, 4},
      {"Библиотека", true, false, {"", "Абонемент"}, 2},
      {"ЖЭУ", true, true, {"Диспетчер", "Мастер", "Бухгалтерия"}, 4},
      {"Отделение полиции",
       true,
       true,
       {"Дежурная часть", "Участковые", "Паспортный стол"},
       1},
      {"Пожарная часть", true, false, {"Дежурный"}, 1},
      {"Магазин", false, false, {"", "Директор", "Администратор"}, 14},
      {"Кафе", false, false, {"", "Администратор"}, 5},
      {"Парикмахерская", false, false, {""}, 4},
      {"ООО",
       false,
       true,
       {"Приёмная", "Бухгалтерия", "Отдел кадров", "Отдел продаж", "Диспетчер",
        "Склад"},
       16},
      {"ЗАО",
       false,
       true,
       {"Приёмная", "Бухгалтерия", "Отдел кадров", "Главный инженер"},
       4},
      {"Банк",
       false,
       true,
       {"Операционный зал", "Кредитный отдел", "Касса"},
       2},
  };
  return kinds;
}

constexpr std::string_view kShopNames[] = {
    "Продукты", "Хлеб",           "Хозтовары",    "Универсам", "Овощи",
    "Молоко",   "Книги",          "Электроника",  "Одежда",    "Обувь",
    "Цветы",    "Стройматериалы", "Мебель",       "Ткани",     "Игрушки",
    "Спорт",    "Рыбак",          "Автозапчасти",
};
constexpr std::string_view kCafeNames[] = {
    "Встреча", "Уют",  "Берёзка", "Ромашка", "Минутка",      "Весна",
    "Юность",  "Русь", "Огонёк",  "Радуга",  "Старый город",
};
constexpr std::string_view kHairNames[] = {
    "Локон", "Шарм", "Элегант", "Стиль", "Мечта", "Каприз",
};
constexpr std::string_view kCompanyNames[] = {
    "Вектор",    "Стройсервис", "Горэлектросеть", "Водоканал", "Теплосеть",
    "Автотранс", "Меридиан",    "Прогресс",       "Альянс",    "Спектр",
    "Монолит",   "Гарант",      "Горизонт",       "Импульс",   "Интеграл",
    "Лидер",     "Партнер",     "Связьинформ",    "Агропром",  "Техносфера",
    "Металлист", "Сибирь",      "Энергия",        "Стандарт",  "Восход",
    "Форпост",   "Темп",        "Кристалл",
};
constexpr std::string_view kBankNames[] = {
    "Городской",
    "Народный",
    "Промышленный",
    "Сберегательный",
};

std::string Cp(std::string_view utf8) {
  // The lists above hold only letters the code page has.
  return Utf8ToCp1251(utf8).value_or(std::string());
}

template <size_t N>
std::vector<std::string> CpList(const std::string_view (&words)[N]) {
  std::vector<std::string> out;
  out.reserve(N);
  for (std::string_view w : words) out.push_back(Cp(w));
  return out;
}

// The feminine form of a surname: Иванов -> Иванова, Успенский -> Успенская,
// Толстой -> Толстая; Шевченко, Черных and the like stay as they are.
std::string Feminine(std::string_view utf8) {
  std::string s(utf8);
  auto ends_with = [&s](std::string_view tail) { return s.ends_with(tail); };
  if (ends_with("ий") || ends_with("ой")) {
    s.resize(s.size() - std::string_view("ий").size());
    return s + "ая";
  }
  if (ends_with("ов") || ends_with("ев") || ends_with("ин") ||
      ends_with("ын")) {
    return s + "а";
  }
  return s;
}

struct Words {
  std::vector<std::string> male, female, initials, streets, districts, letters,
      shops, cafes, hair, companies, banks;
  struct Kind {
    std::string name;
    bool numbered;
    bool has_offices;
    std::vector<std::string> departments;
    int weight;
  };
  std::vector<Kind> org_kinds;
  int org_weight_total = 0;
  std::string number_sign, quote_open, quote_close;
};

const Words& TownWords() {
  static const Words words = [] {
    Words w;
    for (std::string_view s : kSurnames) {
      w.male.push_back(Cp(s));
      w.female.push_back(Cp(Feminine(s)));
    }
    w.initials = CpList(kInitials);
    w.streets = CpList(kStreets);
    w.districts = CpList(kDistricts);
    w.letters = CpList(kLetters);
    w.shops = CpList(kShopNames);
    w.cafes = CpList(kCafeNames);
    w.hair = CpList(kHairNames);
    w.companies = CpList(kCompanyNames);
    w.banks = CpList(kBankNames);
    for (const OrgKind& k : OrgKindsUtf8()) {
      Words::Kind kind{Cp(k.name), k.numbered, k.has_offices, {}, k.weight};
      for (std::string_view d : k.departments)
        kind.departments.push_back(Cp(d));
      w.org_weight_total += k.weight;
      w.org_kinds.push_back(std::move(kind));
    }
    w.number_sign = Cp("№ ");
    w.quote_open = Cp("«");
    w.quote_close = Cp("»");
    return w;
  }();
  return words;
}

// splitmix64: fast, and the same sequence for the same seed everywhere.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // 0..n-1.
  uint32_t Below(uint32_t n) {
    return static_cast<uint32_t>(((Next() >> 32) * n) >> 32);
  }
  // 0..n-1, the low values more often: a long tail like real name counts.
  uint32_t Skewed(uint32_t n) {
    const uint32_t a = Below(n);
    const uint32_t b = Below(n);
    return std::min(a, b);
  }
  bool Percent(uint32_t p) { return Below(100) < p; }

 private:
  uint64_t state_;
};

void AppendNumber(std::string* out, uint64_t n) {
  char digits[20];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + n % 10);
    n /= 10;
  } while (n != 0);
  while (count > 0) out->push_back(digits[--count]);
}

// Field separators of a section text: field c is preceded by the byte c.
void Tag(std::string* out, int column) {
  out->push_back(static_cast<char>(column));
}

// Telephone numbers: a permutation of a range, so that every record gets a
// different number and neighbouring records show no pattern.
class NumberPlan {
 public:
  NumberPlan(size_t count, uint64_t key) : key_(key) {
    // Six digits while a town leaves room to spare, seven beyond.
    digits_ = count <= 400000 ? 6 : 7;
    low_ = digits_ == 6 ? 200000 : 2000000;
    range_ = digits_ == 6 ? 800000 : 8000000;
    bits_ = digits_ == 6 ? 20 : 23;  // the least powers of two above range_
  }
  int digits() const { return digits_; }
  uint64_t Number(uint64_t i) const {
    // Cycle walking: a bijection of the bits_-bit numbers, applied again
    // until the result falls inside the range, is a bijection of the range.
    uint64_t x = i % range_;
    do {
      x = Mix(x);
    } while (x >= range_);
    return low_ + x;
  }

 private:
  // Odd multipliers, xor-shifts and additions modulo 2^bits_ all invert.
  uint64_t Mix(uint64_t x) const {
    const uint64_t mask = (uint64_t{1} << bits_) - 1;
    x = (x + key_) & mask;
    x = (x * 0x9E3779B1u) & mask;
    x ^= x >> (bits_ / 2);
    x = (x * 0x85EBCA77u) & mask;
    x ^= x >> (bits_ / 2 + 1);
    return x;
  }

  uint64_t key_;
  int digits_;
  int bits_;
  uint64_t low_;
  uint64_t range_;
};

struct Street {
  uint32_t name;
  uint32_t district;
  uint32_t houses;
  bool private_sector;  // detached houses: no flats
};

class TownBuilder {
 public:
  TownBuilder(size_t home, size_t org, uint32_t seed)
      : words_(TownWords()),
        rng_(0x5EED0000ull << 32 | seed),
        numbers_(home + org, seed) {
    for (uint32_t s = 0; s < words_.streets.size(); ++s) {
      Street street;
      street.name = s;
      street.district =
          rng_.Below(static_cast<uint32_t>(words_.districts.size()));
      street.private_sector = rng_.Percent(25);
      street.houses =
          street.private_sector ? 20 + rng_.Below(120) : 5 + rng_.Below(80);
      streets_.push_back(street);
    }
  }

  int number_digits() const { return numbers_.digits(); }

  std::string Residential(size_t count) {
    std::string text;
    text.reserve(count * 56);
    for (size_t i = 0; i < count; ++i) {
      AppendNumber(&text, numbers_.Number(next_number_++));
      Tag(&text, 2);
      const uint32_t surname =
          rng_.Skewed(static_cast<uint32_t>(words_.male.size()));
      text += rng_.Percent(55) ? words_.female[surname] : words_.male[surname];
      text += ' ';
      AppendInitial(&text);
      AppendInitial(&text);
      const Street& street =
          streets_[rng_.Below(static_cast<uint32_t>(streets_.size()))];
      AppendAddress(&text, street, /*first_column=*/3);
      Tag(&text, 6);
      if (!street.private_sector)
        AppendNumber(&text, 1 + rng_.Below(rng_.Percent(70) ? 120 : 300));
      Tag(&text, 7);
      text += words_.districts[street.district];
      text += '\x1F';
    }
    return text;
  }

  std::string Organisations(size_t count) {
    std::string text;
    text.reserve(count * 80);
    std::vector<uint32_t> counters(words_.org_kinds.size(), 0);
    size_t written = 0;
    std::string name;
    while (written < count) {
      const uint32_t k = PickOrgKind();
      const Words::Kind& kind = words_.org_kinds[k];
      name = kind.name;
      name += ' ';
      if (kind.numbered) {
        name += words_.number_sign;
        AppendNumber(&name, ++counters[k]);
      } else {
        name += words_.quote_open;
        name += OrgProperName(k);
        name += words_.quote_close;
      }
      const Street& street =
          streets_[rng_.Below(static_cast<uint32_t>(streets_.size()))];
      // One address for all the lines of an organisation.
      std::string address;
      AppendAddress(&address, street, /*first_column=*/4);
      const uint32_t office_base = 1 + rng_.Below(40);
      const size_t lines = std::min(
          count - written, size_t{1} + rng_.Below(static_cast<uint32_t>(
                                           kind.departments.size())));
      for (size_t d = 0; d < lines; ++d) {
        AppendNumber(&text, numbers_.Number(next_number_++));
        Tag(&text, 2);
        text += name;
        Tag(&text, 3);
        text += kind.departments[d];
        text += address;
        Tag(&text, 7);
        if (kind.has_offices && !kind.departments[d].empty()) {
          AppendNumber(&text, office_base * (rng_.Percent(50) ? 1 : 10) + d);
        }
        Tag(&text, 8);
        text += words_.districts[street.district];
        text += '\x1F';
      }
      written += lines;
    }
    return text;
  }

 private:
  void AppendInitial(std::string* out) {
    *out += words_.initials[rng_.Below(
        static_cast<uint32_t>(words_.initials.size()))];
    *out += '.';
  }

  // Street, house and building, each after its tag.
  void AppendAddress(std::string* out, const Street& street, int first_column) {
    Tag(out, first_column);
    *out += words_.streets[street.name];
    Tag(out, first_column + 1);
    AppendNumber(out, 1 + rng_.Skewed(street.houses));
    const uint32_t form = rng_.Below(100);
    if (form < 8) {
      *out += words_.letters[rng_.Skewed(
          static_cast<uint32_t>(words_.letters.size()))];
    } else if (form < 14) {
      out->push_back('/');
      AppendNumber(out, 1 + rng_.Skewed(4));
    }
    Tag(out, first_column + 2);
    if (!street.private_sector && rng_.Percent(12)) {
      AppendNumber(out, 1 + rng_.Skewed(4));
    }
  }

  uint32_t PickOrgKind() {
    int pick = static_cast<int>(
        rng_.Below(static_cast<uint32_t>(words_.org_weight_total)));
    for (uint32_t k = 0; k < words_.org_kinds.size(); ++k) {
      pick -= words_.org_kinds[k].weight;
      if (pick < 0) return k;
    }
    return 0;
  }

  const std::string& OrgProperName(uint32_t kind) {
    const std::string_view name = OrgKindsUtf8()[kind].name;
    const std::vector<std::string>& names = name == "Магазин" ? words_.shops
                                            : name == "Кафе"  ? words_.cafes
                                            : name == "Парикмахерская"
                                                ? words_.hair
                                            : name == "Банк" ? words_.banks
                                                             : words_.companies;
    return names[rng_.Below(static_cast<uint32_t>(names.size()))];
  }

  const Words& words_;
  Random rng_;
  NumberPlan numbers_;
  uint64_t next_number_ = 0;
  std::vector<Street> streets_;
};

}  // namespace

DemoTown MakeDemoTown(size_t home_records, size_t org_records, uint32_t seed) {
  TownBuilder builder(home_records, org_records, seed);
  DemoTown town;
  town.home_text = builder.Residential(home_records);
  town.org_text = builder.Organisations(org_records);

  BaseHeader& h = town.header;
  h.Title = Cp("Телефонный справочник");
  h.Caption = Cp("Телефонный справочник г. Демоград");
  h.Description =
      Cp("Демоград: вымышленный город для знакомства с программой. "
         "Фамилии, адреса и номера придуманы.");
  h.OriginTag = kUserOriginTag;
  h.NumberLength = builder.number_digits();
  // The reserve an optimised base carries, so the first load does not grow.
  h.TableGrowth = static_cast<int32_t>(
      PlausibleTableGrowth(std::max(home_records, org_records)));
  ApplyNewBaseLayout(kAllHomeFields, kAllOrgFields, &h);
  return town;
}

}  // namespace spravka
