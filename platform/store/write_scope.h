#pragma once
// A write scope groups the store writes of one piece of work, such as one
// copied document, under one flush. Every write of the store is complete when
// it returns: another process, or a crash of this one, meets the item before
// or after it, never half of it. Making writes durable takes a flush, and
// flushes are what a copy spends its time on: outside a scope each write
// flushes its file at once; inside one, the files written are flushed when
// the scope commits, once each however often they were written.
//
//     store::WriteScope scope;
//     document.DataSource().SaveTo(url);
//     store::SpsVersion().checkIn(document);
//     store::SpsVersion().publish(document);
//     store::PendingFlush flush = scope.commit();   // flushing starts
//     ...                                            // the next document
//     flush.wait();                   // the document is durable from here
//
// A commit hands the files to the store's flushing threads and returns at
// once, so that the flush of one piece of work runs while the next is read
// and written, and flushes that run side by side let the file system write
// them together. The threads hold only their own copies of the files'
// descriptors.
//
// Scopes belong to the thread that opens them and nest; the innermost one
// gathers the writes. Inside a scope each host's settings are checked once,
// when the scope first reaches the host, not at every call, and a store's
// write lock, once taken, is held until the scope commits.

#include "platform/net/folder.h"

#include <cstdint>
#include <memory>
#include <sys/types.h>
#include <vector>

namespace store {

class HostStore;
struct FlushJob;

// The flush of a committed scope, which may still be running.
class PendingFlush {
public:
    // Nothing to flush: finished, with success.
    PendingFlush() = default;
    explicit PendingFlush(std::shared_ptr<FlushJob> job) : job_(std::move(job)) {}

    bool finished() const;
    // Waits until the flush has finished; throws ComError when a file could
    // not be made durable.
    void wait() const;

private:
    std::shared_ptr<FlushJob> job_;
};

class WriteScope {
public:
    WriteScope();
    // Flushes, and waits for, what commit() has not been given; a failure
    // then goes unreported, so work that reports its writes done commits
    // first.
    ~WriteScope();
    WriteScope(const WriteScope&) = delete;
    WriteScope& operator=(const WriteScope&) = delete;

    // Starts flushing every file written inside the scope so far.
    PendingFlush commit();

    // The innermost scope of this thread; null outside any.
    static WriteScope* Current();

    // The stores whose write lock the scope holds until it commits.
    bool holdsLock(const HostStore& store) const;
    void holdLock(std::shared_ptr<HostStore> store);
    // A number no other scope of this process has.
    std::uint64_t serial() const { return serial_; }

private:
    friend void MakeDurable(int descriptor);
    void keep(int descriptor);
    void releaseLocks();

    struct WrittenFile {
        net::FileHandle file;
        dev_t device;
        ino_t inode;
    };

    WriteScope* outer_;
    std::uint64_t serial_;
    std::vector<WrittenFile> written_;
    std::vector<std::shared_ptr<HostStore>> lockedStores_;
};

// Makes a file that the store has just written durable, together with its
// name when it is new: at once outside a scope, when the scope commits inside
// one.
void MakeDurable(int descriptor);
// Makes a file durable at once, inside a scope or not; throws ComError when
// that fails.
void FlushNow(int descriptor);

// For tests: the k-th file handed to a flush from now on (counted in the
// order the flushes are asked for) fails as on a full disk; 0 clears it.
void FailFlushForTesting(int k);

} // namespace store
