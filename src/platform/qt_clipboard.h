// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_PLATFORM_QT_CLIPBOARD_H_
#define SPRAVKA_PLATFORM_QT_CLIPBOARD_H_

#include "editing/clipboard.h"

namespace spravka {

// The system clipboard's plain text through Qt, converted between Unicode
// and Windows-1251 at this edge.
class QtClipboard : public Clipboard {
 public:
  std::string ReadText() override;
  void WriteText(const std::string& text) override;
};

}  // namespace spravka

#endif  // SPRAVKA_PLATFORM_QT_CLIPBOARD_H_
