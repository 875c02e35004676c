#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "common/placement.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace orvi {

class CandidateProvider;

// What the Pronunce dialog and its callers share. The caller fills it before the dialog opens
// and reads accepted, reading and stop afterwards.
struct PronunceState {
  std::u16string base;     // the run being annotated (shown read-only)
  std::u16string reading;  // in: the present reading; out on OK: the Kana field (at most 63)
  bool accepted = false;   // set by the caller, cleared by Cancel and Stop
  bool series = false;     // a Batch Fill or notation walk is running: Stop is enabled
  bool stop = false;       // set by Stop
  bool auto_hint = true;
  // The current candidate set, best first; none when there is no set.
  std::optional<std::vector<std::u16string>> candidates;
};

// "Pronunce": asks for the reading of one run, offering the dictionary's candidates.
class PronunceDialog : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kReadingCapacity = 63;

  PronunceDialog(QWidget* owner, PronunceState& state, CandidateProvider* provider,
                 const QFont& dialog_font, QWidget* placement_owner,
                 common::RememberedPlace& place);

  QLineEdit* kanji_edit() const { return kanji_; }
  QLineEdit* kana_edit() const { return kana_; }
  QComboBox* candidate_box() const { return combo_; }
  QPushButton* ok_button() const { return ok_; }
  QPushButton* cancel_button() const { return cancel_; }
  QPushButton* stop_button() const { return stop_; }

  void done(int result) override;

 private:
  void FillCandidates(CandidateProvider* provider);
  void Remember();

  PronunceState& state_;
  QWidget* placement_owner_;
  common::RememberedPlace& place_;
  QLineEdit* kanji_ = nullptr;
  QLineEdit* kana_ = nullptr;
  QComboBox* combo_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* stop_ = nullptr;
};

}  // namespace orvi
