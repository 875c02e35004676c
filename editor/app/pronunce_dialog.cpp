#include "editor/app/pronunce_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "common/qt/dialog_place.h"
#include "editor/app/candidates.h"
#include "editor/app/qt_text.h"

namespace orvi {

PronunceDialog::PronunceDialog(QWidget* owner, PronunceState& state,
                               CandidateProvider* provider, const QFont& dialog_font,
                               QWidget* placement_owner, common::RememberedPlace& place)
    : QDialog(owner), state_(state), placement_owner_(placement_owner), place_(place) {
  setWindowTitle(QStringLiteral("Pronunce"));

  auto* group = new QGroupBox(QStringLiteral("Ruby"), this);
  auto* grid = new QGridLayout(group);
  kanji_ = new QLineEdit(group);
  kanji_->setReadOnly(true);
  kana_ = new QLineEdit(group);
  kana_->setMaxLength(kReadingCapacity);
  combo_ = new QComboBox(group);
  combo_->setEditable(false);
  grid->addWidget(new QLabel(QStringLiteral("Kanji"), group), 0, 0);
  grid->addWidget(kanji_, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Kana"), group), 1, 0);
  grid->addWidget(kana_, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("Candidates"), group), 2, 0);
  grid->addWidget(combo_, 2, 1);
  grid->setColumnStretch(1, 1);

  ok_ = new QPushButton(QStringLiteral("OK"), this);
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  stop_ = new QPushButton(QStringLiteral("Stop"), this);
  ok_->setDefault(true);
  ok_->setAutoDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  buttons->addWidget(stop_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addLayout(buttons);
  setMinimumWidth(320);

  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(stop_, &QPushButton::clicked, this, [this] {
    state_.stop = true;
    reject();
  });

  if (!state_.series) stop_->setEnabled(false);
  kanji_->setText(ToQString(state_.base));
  kana_->setText(ToQString(state_.reading));
  FillCandidates(provider);
  kanji_->setFont(dialog_font);
  kana_->setFont(dialog_font);
  combo_->setFont(dialog_font);
  // Outside a series the dialog owns the set it was given or found; a series' caller keeps
  // and releases its own sets.
  if (!state_.series) state_.candidates.reset();

  connect(combo_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index < 0) return;
    kana_->setText(combo_->itemText(index));
    kana_->setFocus();
    kana_->selectAll();
  });
  kana_->setFocus();
  adjustSize();
  common::qt::PlaceDialog(place_, this, placement_owner_);
}

void PronunceDialog::FillCandidates(CandidateProvider* provider) {
  if (!state_.series && !state_.candidates && state_.auto_hint && provider) {
    state_.candidates = provider->Lookup(u'_', state_.base, u'_');
  }
  if (!state_.candidates || state_.candidates->empty()) {
    combo_->setEnabled(false);
    return;
  }
  const std::vector<std::u16string>& best_first = *state_.candidates;
  if (state_.reading.empty()) {
    state_.reading = best_first.front();
    kana_->setText(ToQString(state_.reading));
  }
  // The list shows the candidates in sorted order; the one equal to the reading (the best one
  // when there was no reading yet) is preselected.
  std::vector<std::u16string> sorted = best_first;
  std::stable_sort(sorted.begin(), sorted.end());
  sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
  for (const std::u16string& reading : sorted) combo_->addItem(ToQString(reading));
  combo_->setCurrentIndex(combo_->findText(ToQString(state_.reading), Qt::MatchExactly));
}

void PronunceDialog::Remember() { common::qt::RememberPlace(this, place_); }

void PronunceDialog::done(int result) {
  if (result == QDialog::Accepted) {
    QString reading = kana_->text().left(kReadingCapacity);
    // Never keep half of a surrogate pair at the cut.
    if (!reading.isEmpty() && reading.back().isHighSurrogate()) reading.chop(1);
    state_.reading = FromQString(reading);
  } else {
    state_.accepted = false;
  }
  Remember();
  QDialog::done(result);
}

}  // namespace orvi
