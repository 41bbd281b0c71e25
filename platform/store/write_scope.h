#pragma once
// A write scope groups the store writes of one piece of work, such as one
// copied document, under one flush. Every write of the store is complete when
// it returns: another process, or a crash of this one, meets the item before
// or after it, never half of it. Making writes durable takes a flush, and
// flushes are what a copy spends its time on: outside a scope each write
// flushes its file at once; inside one, the files written are flushed by
// commit(), once each however often they were written.
//
//     store::WriteScope scope;
//     document.DataSource().SaveTo(url);
//     store::SpsVersion().checkIn(document);
//     store::SpsVersion().publish(document);
//     scope.commit();                  // the document is durable from here
//
// Scopes belong to the thread that opens them and nest; the innermost one
// gathers the writes. Inside a scope each host's settings are checked once,
// when the scope first reaches the host, not at every call.

#include "platform/net/folder.h"

#include <cstdint>
#include <sys/types.h>
#include <vector>

namespace store {

class WriteScope {
public:
    WriteScope();
    // Flushes what commit() has not; a failure then goes unreported, so work
    // that reports its writes done commits first.
    ~WriteScope();
    WriteScope(const WriteScope&) = delete;
    WriteScope& operator=(const WriteScope&) = delete;

    // Flushes every file written inside the scope so far. A failure throws
    // ComError after the other files have been flushed.
    void commit();

    // The innermost scope of this thread; null outside any.
    static WriteScope* Current();
    // A number no other scope of this process has.
    std::uint64_t serial() const { return serial_; }

private:
    friend void MakeDurable(int descriptor);
    void keep(int descriptor);

    struct WrittenFile {
        net::FileHandle file;
        dev_t device;
        ino_t inode;
    };

    WriteScope* outer_;
    std::uint64_t serial_;
    std::vector<WrittenFile> written_;
};

// Makes a file that the store has just written durable, together with its
// name when it is new: at once outside a scope, at the scope's commit inside
// one.
void MakeDurable(int descriptor);

} // namespace store
