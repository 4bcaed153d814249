#ifndef SPRAVKA_APP_MESSAGE_BOXES_H_
#define SPRAVKA_APP_MESSAGE_BOXES_H_

#include <string>

#include "app/base_messages.h"

namespace spravka {

// The program's modal message boxes: warning "Предостережение", error
// "Ошибка", information "Информация" and confirmation "Подтверждение".
// Texts are UTF-8 with "\r\n" line breaks. Tests answer them in place of
// the user.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // A box with the one button "OK".
  virtual void Show(MessageKind kind, const std::string& text) = 0;
  // A confirmation with "&Да" and "&Нет"; true for Yes.
  virtual bool Ask(const std::string& question) = 0;
};

}  // namespace spravka

#endif  // SPRAVKA_APP_MESSAGE_BOXES_H_
