// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_DIALLING_DIAL_PROMPTS_H_
#define SPRAVKA_DIALLING_DIAL_PROMPTS_H_

#include <string>

namespace spravka {

// How dialling talks to the user: its refusals and failures, the one
// question before a number is dialled, and the note to pick up the handset.
// Texts are UTF-8 with "\r\n" line breaks. The program's message boxes
// answer it; tests answer in place of the user.
class DialPrompts {
 public:
  virtual ~DialPrompts() = default;
  virtual void ShowError(const std::string& text) = 0;
  virtual void ShowInformation(const std::string& text) = 0;
  // True for Yes.
  virtual bool Ask(const std::string& question) = 0;
};

}  // namespace spravka

#endif  // SPRAVKA_DIALLING_DIAL_PROMPTS_H_
