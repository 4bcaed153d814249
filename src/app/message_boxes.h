// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_MESSAGE_BOXES_H_
#define SPRAVKA_APP_MESSAGE_BOXES_H_

#include <string>

#include "app/base_messages.h"
#include "dialling/dial_prompts.h"

namespace spravka {

// The program's modal message boxes: warning "Предостережение", error
// "Ошибка", information "Информация" and confirmation "Подтверждение".
// Texts are UTF-8 with "\r\n" line breaks. Tests answer them in place of
// the user. Dialling asks its questions through them too.
class MessageBoxes : public DialPrompts {
 public:
  // A box with the one button "OK".
  virtual void Show(MessageKind kind, const std::string& text) = 0;
  // A confirmation with "&Да" and "&Нет"; true for Yes.
  bool Ask(const std::string& question) override = 0;

  void ShowError(const std::string& text) final {
    Show(MessageKind::kError, text);
  }
  void ShowInformation(const std::string& text) final {
    Show(MessageKind::kInformation, text);
  }
};

}  // namespace spravka

#endif  // SPRAVKA_APP_MESSAGE_BOXES_H_
