#pragma once

#include <QFont>
#include <QPoint>
#include <QString>

class QAction;
class QDialog;
class QMenu;
class QWidget;

namespace orvi {

// Every modal question, message, dialog run and pop-up menu of the editor goes through this
// interface, so that tests can answer them without a nested event loop.
class Prompter {
 public:
  enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
  enum class Icon { Information, Question, Warning, Error };
  enum class Answer { Ok, Cancel, Yes, No };

  virtual ~Prompter() = default;
  // A message box with the editor's title as caption.
  virtual Answer Ask(QWidget* owner, const QString& text, Buttons buttons, Icon icon) = 0;
  // Runs a prepared modal dialog; answers its result code.
  virtual int RunDialog(QDialog& dialog) = 0;
  // Shows a pop-up menu at a screen point; answers the chosen action, or none.
  virtual QAction* RunMenu(QMenu& menu, const QPoint& screen_point) = 0;
  // The font dialog; false when it was cancelled.
  virtual bool ChooseFont(QWidget* owner, const QFont& initial, QFont& chosen) = 0;
};

// The real thing: message boxes, exec() and the platform's font dialog.
class QtPrompter : public Prompter {
 public:
  explicit QtPrompter(QString caption) : caption_(std::move(caption)) {}
  Answer Ask(QWidget* owner, const QString& text, Buttons buttons, Icon icon) override;
  int RunDialog(QDialog& dialog) override;
  QAction* RunMenu(QMenu& menu, const QPoint& screen_point) override;
  bool ChooseFont(QWidget* owner, const QFont& initial, QFont& chosen) override;

 private:
  QString caption_;
};

}  // namespace orvi
