// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/result_pages.h"

#include <QVBoxLayout>

namespace spravka {
namespace {

// The residential tab's caption stands after this many blanks, which push
// it towards the middle of the tab bar.
constexpr int kResidentialTabBlanks = 47;

}  // namespace

ResultPages::ResultPages(GridColours* colours, const HeaderGeometry& geometry,
                         QWidget* parent)
    : QTabWidget(parent) {
  setObjectName(QStringLiteral("pages"));
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
