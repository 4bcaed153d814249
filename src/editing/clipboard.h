// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_EDITING_CLIPBOARD_H_
#define SPRAVKA_EDITING_CLIPBOARD_H_

#include <string>

namespace spravka {

// The system clipboard's plain text, as Windows-1251 bytes: characters the
// code page lacks arrive as "?". The window uses the platform's clipboard;
// tests use a string.
class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Empty when the clipboard holds no text.
  virtual std::string ReadText() = 0;
  // Replaces everything on the clipboard.
  virtual void WriteText(const std::string& text) = 0;
};

}  // namespace spravka

#endif  // SPRAVKA_EDITING_CLIPBOARD_H_
