#pragma once

#include <QTextCharFormat>
#include <QTextEdit>
#include <cstdint>
#include <string>

namespace orvi {

// Whoever decides what the text window does with its input (the main window, in and out of
// Ruby Mode). Answering true swallows the event.
class PaneEventHandler {
 public:
  virtual ~PaneEventHandler() = default;
  virtual bool PaneEvent(QEvent* event) = 0;
};

// The text window: plain text with character formats. Document positions are text offsets
// (a paragraph break counts as one); whole-text reads give CR LF line ends.
class TextWindow : public QTextEdit {
  Q_OBJECT
 public:
  explicit TextWindow(QWidget* parent = nullptr);

  // Every key, character, mouse and input-method event of the window and its viewport goes
  // to the handler first.
  void set_event_handler(PaneEventHandler* handler) { handler_ = handler; }

  // The whole text with CR LF between paragraphs.
  std::u16string WholeText() const;
  // The text of [a, b) with paragraph breaks as LF.
  std::u16string TextOf(std::int32_t a, std::int32_t b) const;
  // The code unit before a and after b in the CR LF text; "_" at the text's start or end.
  char16_t UnitBefore(std::int32_t a) const;
  char16_t UnitAfter(std::int32_t b) const;

  std::int32_t SelectionStart() const;
  std::int32_t SelectionEnd() const;
  std::int32_t TextLength() const;
  void SetSelection(std::int32_t anchor, std::int32_t position);
  void PutCaret(std::int32_t p) { SetSelection(p, p); }

  // Merges a character format over [a, b) without touching the user's selection.
  void MergeFormat(std::int32_t a, std::int32_t b, const QTextCharFormat& format);
  QTextCharFormat FormatAt(std::int32_t p) const;  // the format of the character at p

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool event(QEvent* event) override;

 private:
  PaneEventHandler* handler_ = nullptr;
};

}  // namespace orvi
