// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UI_TOWN_BOX_H_
#define SPRAVKA_UI_TOWN_BOX_H_

#include <QComboBox>
#include <QStyleOptionComboBox>
#include <string>
#include <vector>

#include "app/rules/header_geometry.h"

namespace spravka {

// The town list of the tool bar: one entry per base, chosen from the list
// and never typed; typing into the closed list opens it. The program fills
// and selects it without running its change signal.
class TownBox : public QComboBox {
  Q_OBJECT

 public:
  TownBox(const HeaderGeometry& geometry, QWidget* parent);

  // The entries (UTF-8) with `selected` selected (-1: none); each entry
  // shows whole as its hint, the list being as narrow as the box.
  void ShowEntries(const std::vector<std::string>& entries, int selected);
  void Select(int selected);
  // The selected entry's text (UTF-8); empty when none is selected.
  std::string SelectedEntry() const;
  bool ListOpen() const;
  // The box's hint: `base_hint`, below the whole entry when the box cannot
  // show it whole (a base of another folder).
  void ShowHint(const QString& base_hint);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // The width the entry's text has in the box drawn from `box`.
  int TextRoom(const QStyleOptionComboBox& box) const;
};

}  // namespace spravka

#endif  // SPRAVKA_UI_TOWN_BOX_H_
