#include "editor/app/text_window.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "editor/app/qt_text.h"

namespace orvi {

namespace {

bool IsPaneInput(QEvent::Type type) {
  switch (type) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      return true;
    default:
      return false;
  }
}

// Paragraph and line separators as the document stores them, and as plain text reads them.
bool IsBreak(QChar c) {
  return c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == u'\n';
}

}  // namespace

TextWindow::TextWindow(QWidget* parent) : QTextEdit(parent) {
  setAcceptRichText(false);
  setLineWrapMode(QTextEdit::NoWrap);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  viewport()->installEventFilter(this);
}

bool TextWindow::event(QEvent* e) {
  if (handler_ && IsPaneInput(e->type()) && handler_->PaneEvent(e)) return true;
  return QTextEdit::event(e);
}

bool TextWindow::eventFilter(QObject* watched, QEvent* e) {
  if (watched == viewport() && handler_ && IsPaneInput(e->type()) && handler_->PaneEvent(e)) {
    return true;
  }
  return QTextEdit::eventFilter(watched, e);
}

std::u16string TextWindow::WholeText() const {
  const QString plain = document()->toPlainText();
  std::u16string out;
  out.reserve(static_cast<std::size_t>(plain.size()) + 64);
  for (QChar c : plain) {
    if (IsBreak(c)) {
      out += u"\r\n";
    } else {
      out += static_cast<char16_t>(c.unicode());
    }
  }
  return out;
}

std::u16string TextWindow::TextOf(std::int32_t a, std::int32_t b) const {
  std::u16string out;
  if (b <= a) return out;
  out.reserve(static_cast<std::size_t>(b - a));
  for (std::int32_t p = a; p < b; ++p) {
    const QChar c = document()->characterAt(p);
    out += IsBreak(c) ? u'\n' : static_cast<char16_t>(c.unicode());
  }
  return out;
}

char16_t TextWindow::UnitBefore(std::int32_t a) const {
  if (a <= 0) return u'_';
  const QChar c = document()->characterAt(a - 1);
  return IsBreak(c) ? u'\n' : static_cast<char16_t>(c.unicode());
}

char16_t TextWindow::UnitAfter(std::int32_t b) const {
  if (b >= TextLength()) return u'_';
  const QChar c = document()->characterAt(b);
  return IsBreak(c) ? u'\r' : static_cast<char16_t>(c.unicode());
}

std::int32_t TextWindow::SelectionStart() const { return textCursor().selectionStart(); }

std::int32_t TextWindow::SelectionEnd() const { return textCursor().selectionEnd(); }

std::int32_t TextWindow::TextLength() const {
  // The document always ends with one paragraph separator that is not part of the text.
  return document()->characterCount() - 1;
}

void TextWindow::SetSelection(std::int32_t anchor, std::int32_t position) {
  const std::int32_t length = TextLength();
  QTextCursor cursor = textCursor();
  cursor.setPosition(std::clamp(anchor, 0, length));
  cursor.setPosition(std::clamp(position, 0, length), QTextCursor::KeepAnchor);
  setTextCursor(cursor);
}

void TextWindow::MergeFormat(std::int32_t a, std::int32_t b, const QTextCharFormat& format) {
  const std::int32_t length = TextLength();
  a = std::clamp(a, 0, length);
  b = std::clamp(b, 0, length);
  if (a >= b) return;
  QTextCursor cursor(document());
  cursor.setPosition(a);
  cursor.setPosition(b, QTextCursor::KeepAnchor);
  cursor.mergeCharFormat(format);
}

QTextCharFormat TextWindow::FormatAt(std::int32_t p) const {
  QTextCursor cursor(document());
  cursor.setPosition(std::clamp(p + 1, 0, TextLength()));
  return cursor.charFormat();
}

}  // namespace orvi
