// One writer at a time per dictionary folder, across processes: the editor,
// the import and the repair all change files only while holding this lock.
#pragma once

#include "platform/files.h"

// How long a writer waits for another one to finish.
constexpr int kWriterLockWaitMilliseconds = 5000;

class DictionaryWriteLock {
public:
    // Takes the lock of the folder, waiting a few seconds at most.
    explicit DictionaryWriteLock(const char* folder);
    DictionaryWriteLock(const char* folder, int waitMilliseconds);
    ~DictionaryWriteLock();
    DictionaryWriteLock(const DictionaryWriteLock&) = delete;
    DictionaryWriteLock& operator=(const DictionaryWriteLock&) = delete;

    bool Held() const { return outcome_ == FileLockOutcome::Held; }
    // Not held because another writer kept it for the whole wait (rather
    // than because the lock file cannot be made, as in a read-only folder).
    bool Busy() const { return outcome_ == FileLockOutcome::Busy; }

private:
    PlatformLockHandle handle_ = 0;  // before outcome_: the lock call fills it in
    FileLockOutcome outcome_;
};

// With the lock held no writer is at work, so every temporary file in the
// folder was left by one that was interrupted: deletes them.
void RemoveStaleWriterFiles(const char* folder);
