// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_TESTS_UI_UI_TEST_MAIN_H_
#define SPRAVKA_TESTS_UI_UI_TEST_MAIN_H_

#include <QObject>
#include <functional>
#include <memory>

namespace spravka::testing {

// Each test file registers its QtTest class; the one main runs them all.
class UiTestRegistration {
 public:
  explicit UiTestRegistration(std::function<std::unique_ptr<QObject>()> make);
};

}  // namespace spravka::testing

#define SPRAVKA_UI_TEST(Class)                                     \
  static const ::spravka::testing::UiTestRegistration Class##_reg( \
      [] { return std::unique_ptr<QObject>(new Class); })

#endif  // SPRAVKA_TESTS_UI_UI_TEST_MAIN_H_
