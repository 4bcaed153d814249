// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_PLATFORM_TEXT_CODEC_H_
#define SPRAVKA_PLATFORM_TEXT_CODEC_H_

#include <QString>
#include <QValidator>
#include <string>
#include <string_view>

namespace spravka {

// Windows-1251 bytes, as the bases hold them, to the screen's Unicode.
QString FromCp1251(std::string_view bytes);

// Back to Windows-1251. Characters the code page lacks become "?"; the
// edits do not let them in (Cp1251Validator).
std::string ToCp1251(const QString& text);

// Whether every character of `text` has a Windows-1251 byte.
bool FitsCp1251(const QString& text);

// Keeps characters out of an edit that a base could not hold.
class Cp1251Validator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override;
};

}  // namespace spravka

#endif  // SPRAVKA_PLATFORM_TEXT_CODEC_H_
