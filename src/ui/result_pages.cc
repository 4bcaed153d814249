// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/result_pages.h"

#include <QPainter>
#include <QTabBar>
#include <QVBoxLayout>

namespace spravka {
namespace {

// The tab bar, reached with Tab, shows plainly that it has the keyboard
// focus: a frame in the highlight colour round the current tab (the styles'
// own sign is a faint fill that is easily missed).
class PageTabBar : public QTabBar {
 public:
  using QTabBar::QTabBar;

 protected:
  void paintEvent(QPaintEvent* event) override {
    QTabBar::paintEvent(event);
    if (!hasFocus() || currentIndex() < 0) return;
    QPainter p(this);
    QPen pen(palette().color(QPalette::Highlight), kFocusFrameWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const int inset = kFocusFrameWidth;
    p.drawRect(
        tabRect(currentIndex()).adjusted(inset, inset, -inset - 1, -inset - 1));
  }

 private:
  static constexpr int kFocusFrameWidth = 2;
};

// The residential tab's caption stands after this many blanks, which push
// it towards the middle of the tab bar.
constexpr int kResidentialTabBlanks = 47;

}  // namespace

ResultPages::ResultPages(GridColours* colours, const HeaderGeometry& geometry,
                         QWidget* parent)
    : QTabWidget(parent) {
  setObjectName(QStringLiteral("pages"));
  setTabBar(new PageTabBar(this));
  setTabPosition(QTabWidget::South);
  for (TableId table : {TableId::kHome, TableId::kOrg}) {
    const bool home = table == TableId::kHome;
    auto* sheet = new QWidget(this);
    sheet->setObjectName(home ? QStringLiteral("homeSheet")
                              : QStringLiteral("orgSheet"));
    auto* column = new QVBoxLayout(sheet);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* grid = new ResultGrid(
        home ? QStringLiteral("homeGrid") : QStringLiteral("orgGrid"), colours,
        geometry, sheet);
    auto* panel = new SearchPanel(table, geometry, sheet);
    QSizePolicy keep = grid->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    grid->setSizePolicy(keep);
    column->addWidget(grid, 1);
    column->addWidget(panel);
    (home ? home_grid_ : org_grid_) = grid;
    (home ? home_panel_ : org_panel_) = panel;
    addTab(sheet, home ? QString(kResidentialTabBlanks, QLatin1Char(' ')) +
                             QStringLiteral("Квартирные")
                       : QStringLiteral("Организации"));
  }
}

}  // namespace spravka
