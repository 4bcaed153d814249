// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/text_codec.h"

#include <array>
#include <unordered_map>

#include "storage/cp1251.h"

namespace spravka {
namespace {

struct CodePage {
  std::array<char16_t, 256> to_unicode{};
  std::unordered_map<char16_t, char> to_byte;

  CodePage() {
    for (int b = 0; b < 256; ++b) {
      const char byte = static_cast<char>(b);
      QString s =
          QString::fromStdString(Cp1251ToUtf8(std::string_view(&byte, 1)));
      char16_t u = s.isEmpty() ? char16_t(b) : char16_t(s.at(0).unicode());
      to_unicode[b] = u;
      to_byte.emplace(u, byte);
    }
  }
};

const CodePage& Page() {
  static const CodePage page;
  return page;
}

}  // namespace

QString FromCp1251(std::string_view bytes) {
  const CodePage& page = Page();
  QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (unsigned char b : bytes) *out++ = QChar(page.to_unicode[b]);
  return text;
}

std::string ToCp1251(const QString& text) {
  const CodePage& page = Page();
  std::string bytes;
  bytes.reserve(static_cast<size_t>(text.size()));
  for (QChar c : text) {
    auto it = page.to_byte.find(c.unicode());
    bytes.push_back(it == page.to_byte.end() ? '?' : it->second);
  }
  return bytes;
}

bool FitsCp1251(const QString& text) {
  const CodePage& page = Page();
  for (QChar c : text) {
    if (!page.to_byte.count(c.unicode())) return false;
  }
  return true;
}

QValidator::State Cp1251Validator::validate(QString& input, int&) const {
  return FitsCp1251(input) ? Acceptable : Invalid;
}

}  // namespace spravka
