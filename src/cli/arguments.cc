// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/arguments.h"

#include <charconv>

namespace spravka::cli {

bool Arguments::Parse(const std::vector<std::string>& words,
                      std::initializer_list<OptionSpec> options,
                      std::string* error) {
  bool options_ended = false;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (options_ended || word.size() < 2 || word.compare(0, 2, "--") != 0) {
      positional_.push_back(word);
      continue;
    }
    if (word == "--") {
      options_ended = true;
      continue;
    }
    std::string name = word.substr(2);
    std::optional<std::string> inline_value;
    if (const size_t eq = name.find('='); eq != std::string::npos) {
      inline_value = name.substr(eq + 1);
      name.resize(eq);
    }
    const OptionSpec* option = nullptr;
    for (const OptionSpec& o : options) {
      if (o.name == name) option = &o;
    }
    if (option == nullptr) {
      *error = "неизвестный параметр «--" + name + "»";
      return false;
    }
    if (options_.count(name) != 0 && !option->repeats) {
      *error = "параметр «--" + name + "» указан дважды";
      return false;
    }
    std::string value;
    if (option->takes_value) {
      if (inline_value) {
        value = *inline_value;
      } else if (i + 1 < words.size()) {
        value = words[++i];
      } else {
        *error = "после «--" + name + "» нужно значение";
        return false;
      }
    } else if (inline_value) {
      *error = "параметр «--" + name + "» не принимает значения";
      return false;
    }
    options_[name].push_back(std::move(value));
  }
  return true;
}

bool Arguments::Has(std::string_view name) const {
  return options_.find(name) != options_.end();
}

std::string Arguments::Value(std::string_view name,
                             std::string fallback) const {
  const auto it = options_.find(name);
  return it == options_.end() ? fallback : it->second.back();
}

std::vector<std::string> Arguments::Values(std::string_view name) const {
  const auto it = options_.find(name);
  return it == options_.end() ? std::vector<std::string>() : it->second;
}

bool Arguments::Integer(std::string_view name, int64_t min, int64_t max,
                        int64_t fallback, int64_t* value,
                        std::string* error) const {
  const auto it = options_.find(name);
  if (it == options_.end()) {
    *value = fallback;
    return true;
  }
  const std::string& text = it->second.back();
  const std::optional<int64_t> parsed = ParseInteger(text, min, max);
  if (!parsed) {
    *error = "«--" + std::string(name) + "» ждёт целое число от " +
             std::to_string(min) + " до " + std::to_string(max) + ", а не «" +
             text + "»";
    return false;
  }
  *value = *parsed;
  return true;
}

std::optional<int64_t> ParseInteger(std::string_view text, int64_t min,
                                    int64_t max) {
  int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end || value < min ||
      value > max) {
    return std::nullopt;
  }
  return value;
}

}  // namespace spravka::cli
