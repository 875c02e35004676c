#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "converter/core/naming.h"
#include "converter/core/pipeline.h"
#include "converter/core/settings.h"

class QThread;

namespace quenlite::app {

// Runs one batch on a worker thread so that the windows keep repainting. The status lines and
// the progress come back to the user-interface thread in order, through queued calls; the
// Save question is put to `question` on the user-interface thread while the worker waits.
class BatchRunner : public QObject {
  Q_OBJECT

 public:
  explicit BatchRunner(QObject* parent = nullptr);
  ~BatchRunner() override;

  // Starts a batch over copies of the settings and the selection. False while one is running.
  bool Start(const Settings& settings, const Selection& selection, SaveQuestion& question);
  bool running() const { return thread_ != nullptr; }

  // Waits for a running batch to end (used when the program closes).
  void Wait();

 signals:
  void statusLine(const QString& line);
  void counted(int total);
  void fileStarted(int processed);
  void finished(const quenlite::BatchSummary& summary);

 private:
  void Finished(const BatchSummary& summary);

  QThread* thread_ = nullptr;
};

}  // namespace quenlite::app
