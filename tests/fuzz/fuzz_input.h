// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_TESTS_FUZZ_FUZZ_INPUT_H_
#define SPRAVKA_TESTS_FUZZ_FUZZ_INPUT_H_

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

// Every fuzz target defines this; libFuzzer or the replay driver calls it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace spravka::fuzzing {

// Takes a fuzzer's bytes apart: single bytes from the front, then the rest,
// whole or split at a separator byte.
class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {}

  // The next byte, 0 when none is left.
  uint8_t Byte() {
    if (rest_.empty()) return 0;
    const auto b = static_cast<uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return b;
  }
  std::string_view Rest() const { return rest_; }
  std::vector<std::string_view> Split(char separator) const {
    std::vector<std::string_view> parts;
    std::string_view rest = rest_;
    for (;;) {
      const size_t at = rest.find(separator);
      parts.push_back(rest.substr(0, at));
      if (at == std::string_view::npos) return parts;
      rest.remove_prefix(at + 1);
    }
  }

 private:
  std::string_view rest_;
};

// A broken promise of the code under test: say which, and crash so that
// libFuzzer keeps the input and the replay driver fails.
[[noreturn]] inline void Broken(const char* what) {
  std::fprintf(stderr, "broken: %s\n", what);
  std::abort();
}

inline void Expect(bool condition, const char* what) {
  if (!condition) Broken(what);
}

}  // namespace spravka::fuzzing

#endif  // SPRAVKA_TESTS_FUZZ_FUZZ_INPUT_H_
