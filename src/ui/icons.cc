// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace spravka {
namespace {

constexpr int kSize = 16;

const QColor kInk(40, 40, 40);
const QColor kGreen(0, 128, 0);
const QColor kRed(170, 0, 0);
const QColor kBlue(30, 80, 170);
const QColor kPaper(250, 250, 245);

void Sheet(QPainter& p, const QRect& r) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(kPaper);
  p.drawRect(r);
}

void Lines(QPainter& p, int left, int right, int top, int count) {
  p.setPen(QPen(kInk, 1));
  for (int i = 0; i < count; ++i)
    p.drawLine(left, top + 3 * i, right, top + 3 * i);
}

void Draw(QPainter& p, Picture picture) {
  switch (picture) {
    case Picture::kDial: {
      // A handset.
      QPainterPath handset;
      handset.moveTo(3, 2);
      handset.cubicTo(1, 8, 7, 15, 13, 13);
      handset.lineTo(13, 10);
      handset.lineTo(10, 9);
      handset.lineTo(9, 11);
      handset.cubicTo(7, 10, 5, 8, 5, 6);
      handset.lineTo(7, 5);
      handset.lineTo(6, 2);
      handset.closeSubpath();
      p.setPen(QPen(kInk, 1));
      p.setBrush(kInk);
      p.drawPath(handset);
      break;
    }
    case Picture::kAdd:
      p.setPen(QPen(kGreen, 3));
      p.drawLine(3, 8, 13, 8);
      p.drawLine(8, 3, 8, 13);
      break;
    case Picture::kDelete:
      p.setPen(QPen(kRed, 3));
      p.drawLine(3, 8, 13, 8);
      break;
    case Picture::kCopyRow:
      Sheet(p, QRect(1, 4, 14, 7));
      p.setPen(QPen(kBlue, 2));
      p.drawLine(3, 7, 13, 7);
      break;
    case Picture::kCopyResult:
      Sheet(p, QRect(1, 1, 14, 14));
      p.setPen(QPen(kInk, 1));
      p.drawLine(6, 1, 6, 15);
      Lines(p, 1, 15, 4, 4);
      break;
    case Picture::kPaste:
      p.setPen(QPen(kInk, 1));
      p.setBrush(QColor(190, 150, 90));
      p.drawRect(2, 2, 12, 13);
      Sheet(p, QRect(5, 5, 8, 9));
      p.setBrush(kInk);
      p.drawRect(5, 1, 6, 2);
      break;
    case Picture::kNewBase:
      Sheet(p, QRect(3, 1, 10, 14));
      p.setPen(QPen(kGreen, 2));
      p.drawLine(10, 9, 10, 15);
      p.drawLine(7, 12, 13, 12);
      break;
    case Picture::kSave:
      p.setPen(QPen(kInk, 1));
      p.setBrush(kBlue);
      p.drawRect(1, 1, 14, 14);
      p.setBrush(kPaper);
      p.drawRect(4, 1, 8, 5);
      p.drawRect(3, 9, 10, 6);
      break;
    case Picture::kRestore: {
      p.setPen(QPen(kBlue, 2));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRect(3, 3, 10, 10), 90 * 16, 270 * 16);
      QPolygon head;
      head << QPoint(8, 0) << QPoint(8, 6) << QPoint(4, 3);
      p.setBrush(kBlue);
      p.drawPolygon(head);
      break;
    }
    case Picture::kColumnWidths:
      p.setPen(QPen(kInk, 1));
      p.drawLine(1, 2, 1, 14);
      p.drawLine(14, 2, 14, 14);
      p.setPen(QPen(kBlue, 2));
      p.drawLine(3, 8, 12, 8);
      p.drawLine(3, 8, 6, 5);
      p.drawLine(3, 8, 6, 11);
      p.drawLine(12, 8, 9, 5);
      p.drawLine(12, 8, 9, 11);
      break;
    case Picture::kOptimise: {
      QPolygon bolt;
      bolt << QPoint(9, 0) << QPoint(3, 9) << QPoint(8, 9) << QPoint(6, 16)
           << QPoint(13, 6) << QPoint(8, 6) << QPoint(10, 0);
      p.setPen(QPen(QColor(150, 110, 0), 1));
      p.setBrush(QColor(240, 190, 20));
      p.drawPolygon(bolt);
      break;
    }
    case Picture::kInformation:
      p.setPen(Qt::NoPen);
      p.setBrush(kBlue);
      p.drawEllipse(1, 1, 14, 14);
      p.setPen(QPen(Qt::white, 2));
      p.drawPoint(8, 4);
      p.drawLine(8, 7, 8, 12);
      break;
    case Picture::kExit:
      // A door left open, and the way out.
      p.setPen(QPen(kInk, 1));
      p.setBrush(QColor(150, 100, 50));
      p.drawRect(2, 1, 8, 14);
      p.setPen(QPen(kRed, 2));
      p.drawLine(7, 8, 15, 8);
      p.drawLine(12, 5, 15, 8);
      p.drawLine(12, 11, 15, 8);
      break;
    case Picture::kUniversalMode:
      Sheet(p, QRect(1, 5, 14, 6));
      p.setPen(QPen(kBlue, 1));
      p.drawLine(3, 8, 6, 8);
      p.drawLine(8, 8, 12, 8);
      break;
    case Picture::kDetailedMode:
      for (int row = 0; row < 3; ++row) {
        Sheet(p, QRect(1, 1 + 5 * row, 5, 3));
        Sheet(p, QRect(8, 1 + 5 * row, 7, 3));
      }
      break;
    case Picture::kMoreToTheRight:
    case Picture::kMoreBelow: {
      // Two chevrons.
      if (picture == Picture::kMoreBelow) {
        p.translate(kSize, 0);
        p.rotate(90);
      }
      p.setPen(QPen(kInk, 1.5));
      for (int x : {4, 9}) {
        QPolygonF chevron;
        chevron << QPointF(x, 4) << QPointF(x + 3, 8) << QPointF(x, 12);
        p.drawPolyline(chevron);
      }
      break;
    }
    case Picture::kUnderstood: {
      QPainterPath tick;
      tick.moveTo(2, 8);
      tick.lineTo(6, 12);
      tick.lineTo(14, 3);
      p.setPen(QPen(kGreen, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.setBrush(Qt::NoBrush);
      p.drawPath(tick);
      break;
    }
  }
}

}  // namespace

QIcon DrawnIcon(Picture picture) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  Draw(p, picture);
  p.end();
  return QIcon(pixmap);
}

}  // namespace spravka
