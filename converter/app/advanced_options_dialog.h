#pragma once

#include <QDialog>

#include "common/placement.h"
#include "converter/core/text_mapping.h"

class QCheckBox;

namespace quenlite::app {

// "Advanced Options": three pairs of text mappings, at most one of a pair set. The dialog edits
// a working copy of the committed flags; OK commits it, Cancel drops it.
class AdvancedOptionsDialog : public QDialog {
  Q_OBJECT

 public:
  AdvancedOptionsDialog(QWidget* owner, AdvancedOptions& committed,
                        common::RememberedPlace& place);

  enum Flag { kUpper, kLower, kTraditional, kSimplified, kKatakana, kHiragana, kFlagCount };
  QCheckBox* box(Flag flag) const { return boxes_[flag]; }
  const AdvancedOptions& working() const { return working_; }

  void accept() override;  // OK
  void reject() override;  // Cancel, Esc and the close box

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Toggle(Flag flag);
  void SetButtons();

  QWidget* owner_;
  AdvancedOptions& committed_;
  common::RememberedPlace& place_;
  AdvancedOptions working_;
  QCheckBox* boxes_[kFlagCount] = {};
  bool placed_ = false;
};

// Runs the dialog modally; the committed flags change only through OK.
void ShowAdvancedOptions(QWidget* owner, AdvancedOptions& committed,
                         common::RememberedPlace& place);

}  // namespace quenlite::app
