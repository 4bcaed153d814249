// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_TESTS_SEARCH_SLIP_MODEL_H_
#define SPRAVKA_TESTS_SEARCH_SLIP_MODEL_H_

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "search/match_record.h"

namespace spravka::testing {

// An independent model of matching with "е" for "ё" and slips, built on the
// plain matcher alone: a record matches when some way of writing each word
// of the pattern differently matches it as typed, with the plain matcher
// and no options. A word may be written:
//  - with each "е" as "е", "ё" or "Ё" (when "е" also finds "ё"; a typed
//    "Ё" is matched by record "Ё" only, which is what the option allows);
//  - when slips are allowed and it has four or more letters, also with one
//    letter changed into a letter of the record, one letter dropped, one
//    letter of the record put in anywhere, or two neighbouring letters
//    swapped.
// The words are tried in every combination. Slow; for short patterns.
class SlipModel {
 public:
  static bool Match(std::string_view pattern, std::string_view text,
                    const MatchOptions& options) {
    SlipModel model(pattern, text, options);
    std::string built;
    return model.Try(0, &built);
  }

 private:
  SlipModel(std::string_view pattern, std::string_view text,
            const MatchOptions& options)
      : text_(text), options_(options) {
    const size_t end = pattern.find('\x1F');
    pattern = pattern.substr(0, end);
    for (const char c : text) {
      const auto b = static_cast<uint8_t>(c);
      if (IsModelLetter(b)) record_letters_.insert(Lower(b));
    }
    // Split into words and what stands between them (blanks, tags, modes).
    const uint8_t stop = options.universal ? 0x21 : 0x20;
    std::string between;
    size_t i = 0;
    while (i < pattern.size()) {
      if (options.universal) {
        if (static_cast<uint8_t>(pattern[i]) < stop) {
          between.push_back(pattern[i++]);
          continue;
        }
      } else {
        between += pattern.substr(i, 2);  // tag and mode byte
        i += 2;
      }
      const size_t begin = std::min(i, pattern.size());
      while (i < pattern.size() && static_cast<uint8_t>(pattern[i]) >= stop)
        ++i;
      if (i == begin) continue;
      separators_.push_back(between);
      between.clear();
      words_.emplace_back(pattern.substr(begin, i - begin));
    }
    tail_ = between;
    for (const std::string& word : words_) forms_.push_back(Forms(word));
  }

  static bool IsModelLetter(uint8_t b) {
    return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || b >= 0xC0 ||
           b == 0xA8 || b == 0xB8 ||
           std::string_view("\xA5\xB4\xB2\xB3\xAF\xBF\xAA\xBA")
                   .find(static_cast<char>(b)) != std::string_view::npos;
  }
  static uint8_t Lower(uint8_t b) {
    return b >= 0xC0 && b <= 0xDF ? static_cast<uint8_t>(b + 0x20) : b;
  }

  // Every way of writing a word.
  std::set<std::string> Forms(const std::string& word) const {
    std::set<std::string> forms{word};
    int letters = 0;
    for (const char c : word) letters += IsModelLetter(static_cast<uint8_t>(c));
    if (options_.slip && letters >= 4) {
      for (size_t i = 0; i <= word.size(); ++i) {
        const bool letter =
            i < word.size() && IsModelLetter(static_cast<uint8_t>(word[i]));
        for (const uint8_t x : record_letters_) {
          std::string put = word;
          put.insert(put.begin() + i, static_cast<char>(x));
          forms.insert(put);
          if (letter) {
            std::string changed = word;
            changed[i] = static_cast<char>(x);
            forms.insert(changed);
          }
        }
        if (letter) {
          forms.insert(word.substr(0, i) + word.substr(i + 1));
          if (i + 1 < word.size() &&
              IsModelLetter(static_cast<uint8_t>(word[i + 1]))) {
            std::string swapped = word;
            std::swap(swapped[i], swapped[i + 1]);
            forms.insert(swapped);
          }
        }
      }
    }
    if (!options_.yo) return forms;
    std::set<std::string> spelt;
    for (const std::string& f : forms) Spell(f, 0, &spelt);
    return spelt;
  }
  static void Spell(std::string form, size_t from, std::set<std::string>* out) {
    const size_t e = form.find('\xE5', from);
    if (e == std::string::npos) {
      out->insert(form);
      return;
    }
    for (const char c : {'\xE5', '\xB8', '\xA8'}) {
      form[e] = c;
      Spell(form, e + 1, out);
    }
  }

  bool Try(size_t word, std::string* built) {
    if (word == words_.size()) {
      const std::string pattern = *built + tail_ + '\x1F';
      return MatchRecord(pattern, text_, options_.universal);
    }
    const size_t size = built->size();
    for (const std::string& form : forms_[word]) {
      built->resize(size);
      *built += separators_[word];
      *built += form;
      if (Try(word + 1, built)) return true;
    }
    built->resize(size);
    return false;
  }

  std::string_view text_;
  MatchOptions options_;
  std::set<uint8_t> record_letters_;
  std::vector<std::string> words_;
  std::vector<std::string> separators_;  // before each word
  std::vector<std::set<std::string>> forms_;
  std::string tail_;
};

}  // namespace spravka::testing

#endif  // SPRAVKA_TESTS_SEARCH_SLIP_MODEL_H_
