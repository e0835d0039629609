#pragma once
#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "document/RecoveryCopy.h"
#include "figures/PicturePair.h"

class QLockFile;

// The one thread that writes a window's recovery copy and deletes it (RecoveryFolder.h), in the
// order asked, so that a deletion never races a write. The copy is encoded there from pictures the
// caller hands over as implicitly shared copies: the caller's thread only queues them. The copy is
// written atomically (QSaveFile): a write cut short leaves the previous copy whole. Before the first
// copy is written the window's lock is taken, and it is given up only after the copy is deleted.
// The thread starts with the first job.
class RecoveryWriter {
 public:
  // `failed` is called on the writer's thread, with the reason in Chinese, each time a copy
  // cannot be kept.
  RecoveryWriter(QString folder, std::function<void(const QString&)> failed);
  // Finishes every job asked (a deletion asked is done) and ends the thread. A copy not deleted
  // stays, with its lock given up: it is offered at the next start, as after a crash.
  ~RecoveryWriter();
  RecoveryWriter(const RecoveryWriter&) = delete;
  RecoveryWriter& operator=(const RecoveryWriter&) = delete;

  // Writes `picture` with `note` as the copy. A write asked before and not yet begun is dropped:
  // this one holds everything it held.
  void Write(const PicturePair& picture, const RecoveryNote& note);
  // Deletes the copy after whatever was asked before it.
  void Delete();
  // Takes over the copy `id` whose lock the caller took (a copy recovered into the window): from
  // now on it is the window's copy, and the one the window had is deleted.
  void Adopt(const QString& id, std::unique_ptr<QLockFile> lock);
  // Returns when every job asked so far is done.
  void Wait();

 private:
  struct Job {
    enum Kind { Write, Delete, Adopt } kind;
    PicturePair picture;
    RecoveryNote note;
    QString id;
    std::unique_ptr<QLockFile> lock;
  };
  void Push(Job job);
  void Run();
  void RunWrite(const Job& job);
  void RunDelete();
  void RunAdopt(Job& job);

  const QString folder_;
  const std::function<void(const QString&)> failed_;
  // Only the writer's thread touches these two once it runs.
  QString id_;
  std::unique_ptr<QLockFile> lock_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Job> jobs_;
  bool busy_ = false;
  bool stopping_ = false;
  std::thread thread_;
};
