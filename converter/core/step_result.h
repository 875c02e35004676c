#pragma once

#include <string>

namespace quenlite {

// What a text step of the batch did with the text it took over.
enum class StepOutcome {
  Bypassed,   // nothing to do: the text is the input, unchanged
  Converted,  // the text is a new one (it may be empty)
  Failed,     // the file is given up; the text is empty
};

struct StepResult {
  StepOutcome outcome = StepOutcome::Failed;
  std::u16string text;
};

}  // namespace quenlite
