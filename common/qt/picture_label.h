#pragma once

#include <QLabel>

namespace common::qt {

// Shows the hand cursor over a clickable picture. Clicks still reach the widget as usual.
void InstallPictureCursor(QWidget* picture);

// A picture that can be clicked: the hand cursor over it, clicked() on a left click.
class PictureLabel : public QLabel {
  Q_OBJECT

 public:
  explicit PictureLabel(QWidget* parent = nullptr);

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace common::qt
