// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "platform/text_codec.h"

namespace spravka {

std::string QtClipboard::ReadText() {
  return ToCp1251(QGuiApplication::clipboard()->text());
}

void QtClipboard::WriteText(const std::string& text) {
  QGuiApplication::clipboard()->setText(FromCp1251(text));
}

}  // namespace spravka
