#include "document/RecoveryWriter.h"

#include <QLockFile>
#include <QSaveFile>
#include <QUuid>

#include "document/RecoveryFolder.h"

RecoveryWriter::RecoveryWriter(QString folder, std::function<void(const QString&)> failed)
    : folder_(std::move(folder)), failed_(std::move(failed)), id_(QUuid::createUuid().toString(QUuid::WithoutBraces)) {}

RecoveryWriter::~RecoveryWriter() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void RecoveryWriter::Write(const PicturePair& picture, const RecoveryNote& note) {
  Push(Job{Job::Write, picture, note, {}, nullptr});
}

void RecoveryWriter::Delete() { Push(Job{Job::Delete, {}, {}, {}, nullptr}); }

void RecoveryWriter::Adopt(const QString& id, std::unique_ptr<QLockFile> lock) {
  Push(Job{Job::Adopt, {}, {}, id, std::move(lock)});
}

void RecoveryWriter::Wait() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return jobs_.empty() && !busy_; });
}

void RecoveryWriter::Push(Job job) {
  std::unique_lock lock(mutex_);
  // A write not yet begun says nothing a later job needs: a later write holds everything it held,
  // and a deletion or a recovered copy replaces it.
  while (!jobs_.empty() && jobs_.back().kind == Job::Write) jobs_.pop_back();
  jobs_.push_back(std::move(job));
  if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
  lock.unlock();
  changed_.notify_all();
}

void RecoveryWriter::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [&] { return stopping_ || !jobs_.empty(); });
    if (jobs_.empty()) return;  // stopping, with every job done
    {
      Job job = std::move(jobs_.front());
      jobs_.pop_front();
      busy_ = true;
      lock.unlock();
      switch (job.kind) {
        case Job::Write:
          RunWrite(job);
          break;
        case Job::Delete:
          RunDelete();
          break;
        case Job::Adopt:
          RunAdopt(job);
          break;
      }
      // The job's pictures are let go here, before anyone waiting hears that it is done.
    }
    lock.lock();
    busy_ = false;
    changed_.notify_all();
  }
}

void RecoveryWriter::RunWrite(const Job& job) {
  QString reason;
  if (!MakeRecoveryFolder(folder_, &reason)) return failed_(reason);
  // The lock is taken before the copy exists: no other instance ever sees the copy unowned.
  if (!lock_) {
    lock_ = LockRecoveryId(folder_, id_);
    if (!lock_) return failed_(WhyNotWritten(folder_));
  }
  const QByteArray bytes = EncodeRecoveryCopy(job.picture, job.note);
  if (bytes.isEmpty()) return failed_(QStringLiteral("内存不足"));
  QSaveFile file(RecoveryCopyPath(folder_, id_));
  if (!file.open(QIODevice::WriteOnly)) return failed_(WhyNotWritten(folder_));
  file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return failed_(WhyNotWritten(folder_));
  }
  if (!file.commit()) return failed_(WhyNotWritten(folder_));
}

void RecoveryWriter::RunDelete() {
  if (!lock_) return;  // no copy was written, or it is deleted already
  RemoveRecoveryCopy(folder_, id_);
  lock_.reset();  // gives up the lock: its file goes
}

void RecoveryWriter::RunAdopt(Job& job) {
  if (lock_ && job.id != id_) RemoveRecoveryCopy(folder_, id_);
  lock_ = std::move(job.lock);
  id_ = job.id;
}
