// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/file_drops.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

namespace spravka {
namespace {

bool FirstIsLocalFile(const QMimeData* data) {
  return data->hasUrls() && !data->urls().isEmpty() &&
         data->urls().front().isLocalFile();
}

}  // namespace

FileDrops::FileDrops(QWidget* window,
                     std::function<void(const std::string&)> dropped)
    : QObject(window), dropped_(std::move(dropped)) {
  window->installEventFilter(this);
}

bool FileDrops::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::DragEnter) {
    auto* enter = static_cast<QDragEnterEvent*>(event);
    if (FirstIsLocalFile(enter->mimeData())) enter->acceptProposedAction();
    return true;
  }
  if (event->type() == QEvent::Drop) {
    auto* drop = static_cast<QDropEvent*>(event);
    if (!FirstIsLocalFile(drop->mimeData())) return true;
    drop->acceptProposedAction();
    const QString path = drop->mimeData()->urls().front().toLocalFile();
    dropped_(path.toStdString());
    return true;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace spravka
