// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/new_base_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QWindow>
#include <algorithm>

#include "platform/text_codec.h"
#include "storage/cp1251.h"
#include "ui/inform_dialog.h"

namespace spravka {
namespace {

constexpr int kWidth = 488;
constexpr int kHeight = 194;

// The check boxes of the two groups, in field-kind order.
constexpr std::array<const char*, kHomeKinds> kHomeCaptions = {
    "Номер", "Абонент", "Улица", "дом", "корпус", "кв.", "район"};
constexpr std::array<const char*, kOrgKinds> kOrgCaptions = {
    "Номер", "орг.", "подразд.", "Улица", "дом", "корпус", "офис", "район"};

// Where the controls stand: a column of fields on the left, the two groups
// of check boxes on the right, three boxes to a column.
constexpr int kMargin = 8;
constexpr int kFieldWidth = 212;
constexpr int kEditHeight = 21;
constexpr int kGroupLeft = kMargin + kFieldWidth + kMargin;
constexpr int kGroupWidth = kWidth - kGroupLeft - kMargin;
constexpr int kGroupHeight = 88;
constexpr int kBoxesPerColumn = 3;
constexpr int kBoxWidth = 76;
constexpr int kBoxHeight = 20;
constexpr int kButtonTop = 162;
constexpr int kButtonHeight = 25;

QLabel* MakeLabel(const QString& text, QWidget* parent, int x, int y,
                  int width) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(x, y, width, 15);
  return label;
}

QLineEdit* MakeEdit(const char* name, int limit, QWidget* parent, int y) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QLatin1String(name));
  // Longer texts are cut to the limit, typed or pasted alike.
  edit->setMaxLength(limit);
  edit->setValidator(new Cp1251Validator(edit));
  edit->setGeometry(kMargin, y, kFieldWidth, kEditHeight);
  return edit;
}

template <size_t N>
void MakeGroup(const char* name, const QString& title,
               const std::array<const char*, N>& captions, const char* prefix,
               QWidget* parent, int y, std::array<QCheckBox*, N>& boxes) {
  auto* group = new QGroupBox(title, parent);
  group->setObjectName(QLatin1String(name));
  group->setGeometry(kGroupLeft, y, kGroupWidth, kGroupHeight);
  for (size_t k = 0; k < N; ++k) {
    auto* box = new QCheckBox(QString::fromUtf8(captions[k]), group);
    box->setObjectName(QLatin1String(prefix) + QString::number(k));
    // The caption stands to the left of the box.
    box->setLayoutDirection(Qt::RightToLeft);
    box->setChecked(true);
    const int column = static_cast<int>(k) / kBoxesPerColumn;
    const int row = static_cast<int>(k) % kBoxesPerColumn;
    box->setGeometry(kMargin + column * (kBoxWidth + 4), 20 + row * 21,
                     kBoxWidth, kBoxHeight);
    boxes[k] = box;
  }
  // Number and subscriber (organisation) are in every base.
  boxes[0]->setEnabled(false);
  boxes[1]->setEnabled(false);
}

template <size_t N>
unsigned TickedBits(const std::array<QCheckBox*, N>& boxes) {
  unsigned bits = 0;
  for (size_t k = 0; k < N; ++k) {
    if (boxes[k]->isChecked()) bits |= 1u << k;
  }
  return bits;
}

bool IsEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

}  // namespace

NewBaseDialog::NewBaseDialog(MessageBoxes* boxes, InformDialog* help,
                             QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      boxes_(boxes),
      help_(help) {
  setObjectName(QStringLiteral("newBaseDialog"));
  setWindowTitle(QStringLiteral("Параметры новой базы"));
  setFixedSize(kWidth, kHeight);
}

bool NewBaseDialog::event(QEvent* event) {
  if (event->type() == QEvent::Polish) BuildControls();
  return QDialog::event(event);
}

void NewBaseDialog::BuildControls() {
  if (name_ != nullptr) return;
  MakeLabel(QStringLiteral("Имя базы"), this, kMargin, 6, kFieldWidth);
  name_ = MakeEdit("nameEdit", static_cast<int>(kBaseNameLimit), this, 21);

  constexpr int kSpinWidth = 44;
  MakeLabel(QStringLiteral("Количество цифр в номере"), this, kMargin, 51,
            kFieldWidth - kSpinWidth);
  digits_ = new QSpinBox(this);
  digits_->setObjectName(QStringLiteral("digitsEdit"));
  digits_->setRange(kMinNumberLength, kMaxNumberLength);
  digits_->setValue(kDefaultNumberLength);
  // A text that is no number settles on the least value when left.
  digits_->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
  digits_->setGeometry(kMargin + kFieldWidth - kSpinWidth, 47, kSpinWidth,
                       kEditHeight);

  MakeLabel(QStringLiteral("Заголовок окна программы"), this, kMargin, 75,
            kFieldWidth);
  caption_ = MakeEdit("captionEdit", static_cast<int>(kCaptionLimit), this, 90);
  MakeLabel(QStringLiteral("Описание"), this, kMargin, 117, kFieldWidth);
  description_ = MakeEdit("descriptionEdit",
                          static_cast<int>(kDescriptionLimit), this, 132);

  MakeGroup("homeFieldsGroup", QStringLiteral("Поля для квартирных телефонов"),
            kHomeCaptions, "homeField", this, 4, home_boxes_);
  MakeGroup("orgFieldsGroup", QStringLiteral("Поля для телефонов организаций"),
            kOrgCaptions, "orgField", this, 4 + kGroupHeight + 6, org_boxes_);

  constexpr int kButtonWidth = (kFieldWidth - kMargin) / 2;
  ok_ = new QPushButton(QStringLiteral("Создать базу"), this);
  ok_->setObjectName(QStringLiteral("okButton"));
  ok_->setDefault(true);
  ok_->setGeometry(kMargin, kButtonTop, kButtonWidth, kButtonHeight);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  cancel_ = new QPushButton(QStringLiteral("Отмена"), this);
  cancel_->setObjectName(QStringLiteral("cancelButton"));
  cancel_->setGeometry(kMargin + kButtonWidth + kMargin, kButtonTop,
                       kButtonWidth, kButtonHeight);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

  const NewBaseParams defaults = DefaultNewBaseParams();
  name_->setText(FromCp1251(defaults.name));
  caption_->setText(FromCp1251(defaults.caption));
  description_->setText(FromCp1251(defaults.description));

  // Every control sees its keys here first: F1 and a modified Enter must
  // reach no button.
  for (QWidget* child : findChildren<QWidget*>())
    child->installEventFilter(this);
}

void NewBaseDialog::SetWorkingFolder(const std::string& folder,
                                     FileSystem* files) {
  working_folder_ = folder;
  files_ = files;
}

bool NewBaseDialog::Run() {
  const QScreen* screen = parentWidget() ? parentWidget()->screen()
                                         : QGuiApplication::primaryScreen();
  if (screen) move(screen->availableGeometry().center() - rect().center());
  // The dialog may come up while a splash shows the hourglass; typing
  // wants the arrow.
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  const bool ok = exec() == QDialog::Accepted;
  QApplication::restoreOverrideCursor();
  return ok;
}

NewBaseParams NewBaseDialog::Params() const {
  ensurePolished();  // the controls with their first values
  NewBaseParams params;
  params.name = ToCp1251(name_->text());
  bool is_number = false;
  const int digits = digits_->cleanText().toInt(&is_number);
  params.number_length = std::clamp(is_number ? digits : kMinNumberLength,
                                    kMinNumberLength, kMaxNumberLength);
  params.caption = ToCp1251(caption_->text());
  params.description = ToCp1251(description_->text());
  params.home_fields = static_cast<uint8_t>(TickedBits(home_boxes_));
  params.org_fields = static_cast<uint16_t>(TickedBits(org_boxes_));
  return params;
}

bool NewBaseDialog::MayCreate() {
  const std::string name = NewBaseName(ToCp1251(name_->text()));
  if (const std::optional<std::string> refusal = CheckBaseName(name)) {
    boxes_->Show(MessageKind::kError, *refusal);
    name_->setFocus();
    return false;
  }
  const std::string shown = Cp1251ToUtf8(name);
  if (files_->Exists(NewBasePath(working_folder_, shown)) &&
      !boxes_->Ask(ReplaceBaseQuestion(shown))) {
    return false;
  }
  return true;
}

void NewBaseDialog::done(int result) {
  if (result == QDialog::Accepted && !MayCreate()) return;
  QDialog::done(result);
  // A help window left open belongs to no dialog any more.
  if (help_ && help_->windowHandle() &&
      help_->windowHandle()->transientParent() == windowHandle()) {
    help_->windowHandle()->setTransientParent(nullptr);
  }
}

void NewBaseDialog::ShowHelp() {
  if (!help_) return;
  help_->ShowNewBaseHelp();
  // The help stays usable beside this modal dialog.
  if (QWindow* window = help_->windowHandle()) {
    window->setTransientParent(windowHandle());
  }
}

bool NewBaseDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (key->key() == Qt::Key_F1 && !(mods & Qt::ControlModifier)) {
      ShowHelp();
      return true;
    }
    if (IsEnter(key->key()) && mods != Qt::NoModifier) {
      // An Enter with a modifier presses no button; with Shift (and no
      // Ctrl) it goes back to the previous control.
      if ((mods & Qt::ShiftModifier) && !(mods & Qt::ControlModifier)) {
        focusNextPrevChild(false);
      }
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace spravka
