// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/town_box.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace spravka {
namespace {

// Styles that show a combo box's list in place of the box (Fusion among
// them) ignore its number of visible entries and open it as tall as all
// entries together: this one keeps the list a drop-down with a scroll bar.
class DropDownListStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  int styleHint(StyleHint hint, const QStyleOption* option,
                const QWidget* widget,
                QStyleHintReturn* answer) const override {
    if (hint == SH_ComboBox_Popup) return 0;
    return QProxyStyle::styleHint(hint, option, widget, answer);
  }
};

// The box's width in header pixels, and the entries the open list shows.
constexpr int kTownBoxWidth = 138;
constexpr int kVisibleTowns = 25;

}  // namespace

TownBox::TownBox(const HeaderGeometry& geometry, QWidget* parent)
    : QComboBox(parent) {
  setObjectName(QStringLiteral("townBox"));
  setEditable(false);  // chosen from the entries, never typed
  auto* list_style = new DropDownListStyle(
      QStyleFactory::create(QApplication::style()->name()));
  list_style->setParent(this);
  setStyle(list_style);
  setMaxVisibleItems(kVisibleTowns);
  setFixedWidth(geometry.ToScreen(kTownBoxWidth));
  QFont bold = font();
  bold.setBold(true);
  setFont(bold);
  setToolTip(QStringLiteral("Выбор города"));
  QPalette p = palette();
  p.setColor(QPalette::Base, p.color(QPalette::Button));
  setPalette(p);
}

void TownBox::ShowEntries(const std::vector<std::string>& entries,
                          int selected) {
  QSignalBlocker quiet(this);
  clear();
  for (const std::string& entry : entries) {
    const QString text = QString::fromStdString(entry);
    addItem(text);
    setItemData(count() - 1, text.trimmed(), Qt::ToolTipRole);
  }
  setCurrentIndex(selected);
}

void TownBox::Select(int selected) {
  QSignalBlocker quiet(this);
  setCurrentIndex(selected);
}

std::string TownBox::SelectedEntry() const {
  const int index = currentIndex();
  return index < 0 ? std::string() : itemText(index).toStdString();
}

bool TownBox::ListOpen() const { return view()->isVisible(); }

int TownBox::TextRoom(const QStyleOptionComboBox& box) const {
  // The styles draw the text a pixel in from either side of the field.
  return style()
             ->subControlRect(QStyle::CC_ComboBox, &box,
                              QStyle::SC_ComboBoxEditField, this)
             .width() -
         2;
}

void TownBox::ShowHint(const QString& base_hint) {
  QString hint = base_hint;
  const QString entry = currentText().trimmed();
  QStyleOptionComboBox box;
  initStyleOption(&box);
  if (fontMetrics().horizontalAdvance(currentText()) > TextRoom(box)) {
    hint = hint.isEmpty() ? entry : entry + QLatin1Char('\n') + hint;
  }
  setToolTip(hint);
}

// The box as the style draws it, but a name longer than the box is cut at
// its end with "…", as the open list cuts it, never in the middle of a
// letter.
void TownBox::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  painter.setPen(palette().color(QPalette::Text));
  QStyleOptionComboBox box;
  initStyleOption(&box);
  painter.drawComplexControl(QStyle::CC_ComboBox, box);
  box.currentText =
      fontMetrics().elidedText(box.currentText, Qt::ElideRight, TextRoom(box));
  painter.drawControl(QStyle::CE_ComboBoxLabel, box);
}

void TownBox::keyPressEvent(QKeyEvent* event) {
  if (!ListOpen() && !event->text().trimmed().isEmpty()) showPopup();
  QComboBox::keyPressEvent(event);
}

}  // namespace spravka
