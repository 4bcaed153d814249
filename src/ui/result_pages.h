// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UI_RESULT_PAGES_H_
#define SPRAVKA_UI_RESULT_PAGES_H_

#include <QTabWidget>

#include "app/rules/header_geometry.h"
#include "storage/record_table.h"
#include "ui/result_grid.h"
#include "ui/search_panel.h"

namespace spravka {

// The two pages of the window, residential ("Квартирные") and organisations
// ("Организации"), tabs at the bottom: each a result grid over its detailed
// search panel. A hidden grid keeps its room, so the panel stays at the
// bottom of its page.
class ResultPages : public QTabWidget {
  Q_OBJECT

 public:
  // The grids paint with `colours`, which outlive them.
  ResultPages(GridColours* colours, const HeaderGeometry& geometry,
              QWidget* parent);

  ResultGrid* grid(TableId table) const {
    return table == TableId::kHome ? home_grid_ : org_grid_;
  }
  SearchPanel* panel(TableId table) const {
    return table == TableId::kHome ? home_panel_ : org_panel_;
  }
  TableId active() const {
    return currentIndex() == 1 ? TableId::kOrg : TableId::kHome;
  }

 private:
  ResultGrid* home_grid_ = nullptr;
  ResultGrid* org_grid_ = nullptr;
  SearchPanel* home_panel_ = nullptr;
  SearchPanel* org_panel_ = nullptr;
};

}  // namespace spravka

#endif  // SPRAVKA_UI_RESULT_PAGES_H_
