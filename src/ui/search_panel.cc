// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/search_panel.h"

#include <span>

#include "platform/text_codec.h"

namespace spravka {
namespace {

struct KindControls {
  const char* name;  // the label is name + "Label", the edit name + "Edit"
  const char* caption;
};

constexpr KindControls kHomeControls[] = {
    {"homeNumber", "№"},     {"homeName", "ФИО"},    {"homeStreet", "ул."},
    {"homeHouse", "дом"},    {"homeBlock", "корп."}, {"homeFlat", "кв."},
    {"homeDistrict", "р-н"},
};
constexpr KindControls kOrgControls[] = {
    {"orgNumber", "№"},    {"orgName", "Орг."},    {"orgDepartment", "подр."},
    {"orgStreet", "ул."},  {"orgHouse", "дом"},    {"orgBlock", "корп"},
    {"orgOffice", "каб."}, {"orgDistrict", "р-н"},
};

}  // namespace

SearchPanel::SearchPanel(TableId table, const HeaderGeometry& geometry,
                         QWidget* parent)
    : QWidget(parent), table_(table), geometry_(geometry) {
  const bool home = table == TableId::kHome;
  setObjectName(home ? QStringLiteral("homeSearchPanel")
                     : QStringLiteral("orgSearchPanel"));
  setFixedHeight(geometry_.ToScreen(kHeight));
  // Edits are made in kind order, which is also their tab order.
  for (const KindControls& k :
       home ? std::span<const KindControls>(kHomeControls)
            : std::span<const KindControls>(kOrgControls)) {
    auto* label = new QLabel(QString::fromUtf8(k.caption), this);
    label->setObjectName(QLatin1String(k.name) + QStringLiteral("Label"));
    label->hide();
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QLatin1String(k.name) + QStringLiteral("Edit"));
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
