// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_PLATFORM_QT_MESSAGE_BOXES_H_
#define SPRAVKA_PLATFORM_QT_MESSAGE_BOXES_H_

#include <QWidget>

#include "app/message_boxes.h"

namespace spravka {

// The four kinds of box as modal QMessageBoxes with the program's own
// captions and button texts.
class QtMessageBoxes : public MessageBoxes {
 public:
  void Show(MessageKind kind, const std::string& text) override;
  bool Ask(const std::string& question) override;

  // The window the boxes are centred on.
  void SetParent(QWidget* parent) { parent_ = parent; }

 private:
  QWidget* parent_ = nullptr;
};

// The caption of a box of this kind.
QString MessageCaption(MessageKind kind);

}  // namespace spravka

#endif  // SPRAVKA_PLATFORM_QT_MESSAGE_BOXES_H_
