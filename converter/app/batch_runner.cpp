#include "converter/app/batch_runner.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

namespace quenlite::app {

namespace {

// Everything the worker reports is posted to the runner on the user-interface thread; queued
// calls keep their order, also with the blocking Save question in between.
class WorkerBridge : public StatusLog, public BatchProgress, public SaveQuestion {
 public:
  WorkerBridge(BatchRunner* runner, SaveQuestion& question) : runner_(runner), question_(question) {}

  void LogStatus(std::u16string_view line) override {
    const QString text = QString::fromStdU16String(std::u16string(line));
    QMetaObject::invokeMethod(runner_, [r = runner_, text] { emit r->statusLine(text); },
                              Qt::QueuedConnection);
  }
  void OnCounted(int total) override {
    QMetaObject::invokeMethod(runner_, [r = runner_, total] { emit r->counted(total); },
                              Qt::QueuedConnection);
  }
  void OnFileStarted(int processed) override {
    QMetaObject::invokeMethod(runner_, [r = runner_, processed] { emit r->fileStarted(processed); },
                              Qt::QueuedConnection);
  }
  SaveAnswer AskExisting(std::u16string_view pending_path) override {
    SaveAnswer answer;
    const std::u16string path(pending_path);
    QMetaObject::invokeMethod(
        runner_, [this, &answer, &path] { answer = question_.AskExisting(path); },
        Qt::BlockingQueuedConnection);
    return answer;
  }

 private:
  BatchRunner* runner_;
  SaveQuestion& question_;
};

}  // namespace

BatchRunner::BatchRunner(QObject* parent) : QObject(parent) {
  qRegisterMetaType<quenlite::BatchSummary>("quenlite::BatchSummary");
}

BatchRunner::~BatchRunner() { Wait(); }

bool BatchRunner::Start(const Settings& settings, const Selection& selection,
                        SaveQuestion& question) {
  if (thread_ != nullptr) return false;
  auto bridge = std::make_shared<WorkerBridge>(this, question);
  thread_ = QThread::create([this, settings, selection, bridge] {
    const BatchSummary summary = RunBatch(settings, selection, *bridge, *bridge, bridge.get());
    QMetaObject::invokeMethod(this, [this, summary] { Finished(summary); }, Qt::QueuedConnection);
  });
  thread_->start();
  return true;
}

void BatchRunner::Finished(const BatchSummary& summary) {
  if (thread_ != nullptr) {
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
  }
  emit finished(summary);
}

// The worker may be waiting on the Save question, which needs this thread's event loop: keep
// processing events until it is done.
void BatchRunner::Wait() {
  while (thread_ != nullptr && !thread_->isFinished()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  if (thread_ != nullptr) {
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
  }
}

}  // namespace quenlite::app
