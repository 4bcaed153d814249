// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_CLI_ARGUMENTS_H_
#define SPRAVKA_CLI_ARGUMENTS_H_

#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace spravka::cli {

// One option a command accepts: "--name VALUE" (or "--name=VALUE") when it
// takes a value, a plain "--name" switch otherwise.
struct OptionSpec {
  std::string_view name;  // without the leading "--"
  bool takes_value;
  bool repeats = false;  // may be given more than once
};

// The words after a command name, split into positional words and options.
class Arguments {
 public:
  // False with a message for an unknown option, a missing value or an
  // option given twice. A lone "--" ends the options.
  bool Parse(const std::vector<std::string>& words,
             std::initializer_list<OptionSpec> options, std::string* error);

  const std::vector<std::string>& positional() const { return positional_; }
  // Commands that work on one base: false with a message unless exactly one
  // positional word (the base file) was given.
  bool OneBase(std::string* error) const {
    if (positional_.size() == 1) return true;
    *error = "нужно имя одной базы";
    return false;
  }
  bool Has(std::string_view name) const;
  // The value, or `fallback` when the option was not given.
  std::string Value(std::string_view name, std::string fallback = "") const;
  // Every value of a repeatable option, in the order given.
  std::vector<std::string> Values(std::string_view name) const;

  // The value as an integer in min..max; the fallback when the option is
  // absent. False with a message when it is not such a number.
  bool Integer(std::string_view name, int64_t min, int64_t max,
               int64_t fallback, int64_t* value, std::string* error) const;

 private:
  std::vector<std::string> positional_;
  std::map<std::string, std::vector<std::string>, std::less<>> options_;
};

// A decimal integer in min..max, nothing else.
std::optional<int64_t> ParseInteger(std::string_view text, int64_t min,
                                    int64_t max);

}  // namespace spravka::cli

#endif  // SPRAVKA_CLI_ARGUMENTS_H_
