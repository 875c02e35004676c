#include "converter/app/advanced_options_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/qt/dialog_place.h"

namespace quenlite::app {

namespace {

bool& FlagOf(AdvancedOptions& o, AdvancedOptionsDialog::Flag f) {
  switch (f) {
    case AdvancedOptionsDialog::kUpper: return o.upper_case;
    case AdvancedOptionsDialog::kLower: return o.lower_case;
    case AdvancedOptionsDialog::kTraditional: return o.to_traditional;
    case AdvancedOptionsDialog::kSimplified: return o.to_simplified;
    case AdvancedOptionsDialog::kKatakana: return o.to_katakana;
    case AdvancedOptionsDialog::kHiragana: return o.to_hiragana;
    default: break;
  }
  return o.to_hiragana;
}

}  // namespace

AdvancedOptionsDialog::AdvancedOptionsDialog(QWidget* owner, AdvancedOptions& committed,
                                             common::RememberedPlace& place)
    : QDialog(owner), owner_(owner), committed_(committed), place_(place), working_(committed) {
  setWindowTitle(QStringLiteral("Advanced Options"));
  setModal(true);

  struct Group {
    const char* title;
    Flag first;
    const char* first_text;
    Flag second;
    const char* second_text;
  };
  const Group groups[] = {
      {"English", kUpper, "Lowercase to Uppercase", kLower, "Uppercase to Lowercase"},
      {"Chinese", kTraditional, "Simplified to Traditional", kSimplified,
       "Traditional to Simplified "},
      {"Japanese", kKatakana, "Hiragana to Katakana", kHiragana, "Katakana to Hiragana "},
  };
  auto* layout = new QVBoxLayout(this);
  for (const Group& g : groups) {
    auto* box = new QGroupBox(QString::fromLatin1(g.title), this);
    auto* inner = new QVBoxLayout(box);
    for (auto [flag, text] : {std::pair{g.first, g.first_text}, std::pair{g.second, g.second_text}}) {
      auto* check = new QCheckBox(QString::fromLatin1(text), box);
      boxes_[flag] = check;
      const Flag f = flag;
      // The working copy decides the check marks, not the click itself.
      connect(check, &QCheckBox::clicked, this, [this, f] { Toggle(f); });
      inner->addWidget(check);
    }
    layout->addWidget(box);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &AdvancedOptionsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &AdvancedOptionsDialog::reject);
  layout->addWidget(buttons);
  SetButtons();
}

// A button toggles its own flag and clears the other flag of its pair.
void AdvancedOptionsDialog::Toggle(Flag flag) {
  const Flag partner = static_cast<Flag>(flag ^ 1);
  bool& mine = FlagOf(working_, flag);
  mine = !mine;
  FlagOf(working_, partner) = false;
  SetButtons();
}

void AdvancedOptionsDialog::SetButtons() {
  for (int f = 0; f < kFlagCount; ++f)
    boxes_[f]->setChecked(FlagOf(working_, static_cast<Flag>(f)));
}

void AdvancedOptionsDialog::showEvent(QShowEvent* event) {
  if (!placed_) {
    placed_ = true;
    common::qt::PlaceDialog(place_, this, owner_);
  }
  QDialog::showEvent(event);
}

void AdvancedOptionsDialog::accept() {
  common::qt::RememberPlace(this, place_);
  committed_ = working_;
  QDialog::accept();
}

void AdvancedOptionsDialog::reject() {
  common::qt::RememberPlace(this, place_);
  QDialog::reject();
}

void ShowAdvancedOptions(QWidget* owner, AdvancedOptions& committed,
                         common::RememberedPlace& place) {
  AdvancedOptionsDialog dialog(owner, committed, place);
  dialog.exec();
}

}  // namespace quenlite::app
