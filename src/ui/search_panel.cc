// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/search_panel.h"

#include <span>

#include "platform/text_codec.h"

namespace spravka {
namespace {

struct KindControls {
  const char* name;  // the label is name + "Lb", the edit name + "Ed"
  const char* caption;
};

constexpr KindControls kHomeControls[] = {
    {"Hnumb", "№"},     {"Hfio", "ФИО"}, {"Hul", "ул."},   {"Hdom", "дом"},
    {"Hkorp", "корп."}, {"Hkv", "кв."},  {"Hrasp", "р-н"},
};
constexpr KindControls kOrgControls[] = {
    {"Onumb", "№"},  {"Oorg", "Орг."},  {"Opodr", "подр."}, {"Oul", "ул."},
    {"Odom", "дом"}, {"Okorp", "корп"}, {"Oofis", "каб."},  {"Orasp", "р-н"},
};

}  // namespace

SearchPanel::SearchPanel(TableId table, const HeaderGeometry& geometry,
                         QWidget* parent)
    : QWidget(parent), table_(table), geometry_(geometry) {
  const bool home = table == TableId::kHome;
  setObjectName(home ? QStringLiteral("Panel2") : QStringLiteral("Panel1"));
  setFixedHeight(geometry_.ToScreen(kHeight));
  // Edits are made in kind order, which is also their tab order.
  for (const KindControls& k :
       home ? std::span<const KindControls>(kHomeControls)
            : std::span<const KindControls>(kOrgControls)) {
    auto* label = new QLabel(QString::fromUtf8(k.caption), this);
    label->setObjectName(QLatin1String(k.name) + QStringLiteral("Lb"));
    label->hide();
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QLatin1String(k.name) + QStringLiteral("Ed"));
    edit->setValidator(new Cp1251Validator(edit));
    edit->hide();
    labels_.push_back(label);
    edits_.push_back(edit);
  }
}

void SearchPanel::Place(int kind, const EditPlace& header_place) {
  const EditPlace place = geometry_.ToScreen(header_place);
  const int top = geometry_.ToScreen(kEditTop);
  const int height = geometry_.ToScreen(kEditHeight);
  QLabel* label = labels_[kind];
  label->adjustSize();
  label->move(place.label_left, top + (height - label->height()) / 2);
  label->show();
  edits_[kind]->setGeometry(place.edit_left, top, place.edit_width, height);
  edits_[kind]->show();
}

void SearchPanel::HideAll() {
  for (QLabel* label : labels_) label->hide();
  for (QLineEdit* edit : edits_) edit->hide();
}

}  // namespace spravka
