#include "platform/store/write_scope.h"

#include "platform/store/host_store.h"
#include "platform/sys/system_info.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <deque>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace store {

struct FlushJob {
    struct File {
        net::FileHandle descriptor;
        bool failsForTesting = false;
    };
    std::vector<File> files;

    std::mutex mutex;
    std::condition_variable finishedChanged;
    bool finished = false;
    int error = 0;
};

namespace {

thread_local WriteScope* currentScope = nullptr;
std::atomic<int> flushesUntilFailure{0};

std::uint64_t nextSerial()
{
    static std::atomic<std::uint64_t> serial{0};
    return ++serial;
}

// Whether the next file handed to a flush is the one a test makes fail.
bool nextFlushFails()
{
    int remaining = flushesUntilFailure.load();
    while (remaining > 0 && !flushesUntilFailure.compare_exchange_weak(remaining, remaining - 1)) {
    }
    return remaining == 1;
}

// A file's flush. Its name is flushed with it when the file is new: the
// store renames a new file into place before flushing it, and the file
// systems in use then write the new entry with the file.
int flush(int descriptor, bool failsForTesting = false)
{
    if (failsForTesting) return ENOSPC;
    int result = 0;
    do result = ::fsync(descriptor);
    while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : errno;
}

// A file removed since it was written needs no flush.
bool stillLinked(int descriptor)
{
    struct stat status {};
    return ::fstat(descriptor, &status) != 0 || status.st_nlink > 0;
}

[[noreturn]] void throwFlushFailure(int error)
{
    net::ThrowSystemError("Cannot write to the document store", error);
}

void runJob(FlushJob& job)
{
    int error = 0;
    for (const FlushJob::File& file : job.files) {
        if (!stillLinked(file.descriptor.get())) continue;
        if (const int failure = flush(file.descriptor.get(), file.failsForTesting); failure && !error) error = failure;
    }
    job.files.clear();
    const std::lock_guard lock(job.mutex);
    job.error = error;
    job.finished = true;
    job.finishedChanged.notify_all();
}

// The threads that flush committed scopes, a few side by side. They live as
// long as the process; a child made by fork() gets threads of its own.
class Flusher {
public:
    static Flusher& OfThisProcess()
    {
        static std::mutex creation;
        static Flusher* flusher = nullptr;
        const std::lock_guard lock(creation);
        // Never destroyed: its threads may wait on it while the process ends.
        if (!flusher || flusher->process_ != sys::ProcessId()) flusher = new Flusher;
        return *flusher;
    }

    void submit(std::shared_ptr<FlushJob> job)
    {
        {
            const std::lock_guard lock(mutex_);
            queue_.push_back(std::move(job));
        }
        queued_.notify_one();
    }

private:
    static constexpr int kThreads = 8;

    Flusher() : process_(sys::ProcessId())
    {
        for (int i = 0; i < kThreads; ++i) std::thread([this] { work(); }).detach();
    }

    void work()
    {
        for (;;) {
            std::shared_ptr<FlushJob> job;
            {
                std::unique_lock lock(mutex_);
                queued_.wait(lock, [this] { return !queue_.empty(); });
                job = std::move(queue_.front());
                queue_.pop_front();
            }
            runJob(*job);
        }
    }

    int process_;
    std::mutex mutex_;
    std::condition_variable queued_;
    std::deque<std::shared_ptr<FlushJob>> queue_;
};

} // namespace

bool PendingFlush::finished() const
{
    if (!job_) return true;
    const std::lock_guard lock(job_->mutex);
    return job_->finished;
}

void PendingFlush::wait() const
{
    if (!job_) return;
    std::unique_lock lock(job_->mutex);
    job_->finishedChanged.wait(lock, [this] { return job_->finished; });
    if (job_->error) throwFlushFailure(job_->error);
}

WriteScope::WriteScope() : outer_(currentScope), serial_(nextSerial())
{
    currentScope = this;
}

WriteScope::~WriteScope()
{
    if (!written_.empty()) {
        try {
            commit().wait();
        } catch (...) {
        }
    }
    releaseLocks();
    currentScope = outer_;
}

bool WriteScope::holdsLock(const HostStore& store) const
{
    return std::any_of(lockedStores_.begin(), lockedStores_.end(),
                       [&](const std::shared_ptr<HostStore>& locked) { return locked.get() == &store; });
}

void WriteScope::holdLock(std::shared_ptr<HostStore> store)
{
    lockedStores_.push_back(std::move(store));
}

void WriteScope::releaseLocks()
{
    for (const std::shared_ptr<HostStore>& store : lockedStores_) store->releaseScopeLock();
    lockedStores_.clear();
}

WriteScope* WriteScope::Current()
{
    return currentScope;
}

void WriteScope::keep(int descriptor)
{
    struct stat status {};
    net::FileHandle copy;
    if (::fstat(descriptor, &status) == 0) {
        const auto same = [&](const WrittenFile& written) {
            return written.device == status.st_dev && written.inode == status.st_ino;
        };
        if (std::any_of(written_.begin(), written_.end(), same)) return;
        copy = net::FileHandle(::fcntl(descriptor, F_DUPFD_CLOEXEC, 0));
    }
    if (!copy) {
        // Out of descriptors: the file is flushed now instead.
        FlushNow(descriptor);
        return;
    }
    written_.push_back({std::move(copy), status.st_dev, status.st_ino});
}

PendingFlush WriteScope::commit()
{
    releaseLocks();
    if (written_.empty()) return {};
    auto job = std::make_shared<FlushJob>();
    for (WrittenFile& written : written_) job->files.push_back({std::move(written.file), nextFlushFails()});
    written_.clear();
    Flusher::OfThisProcess().submit(job);
    return PendingFlush(std::move(job));
}

void MakeDurable(int descriptor)
{
    if (WriteScope* scope = WriteScope::Current()) {
        scope->keep(descriptor);
        return;
    }
    FlushNow(descriptor);
}

void FlushNow(int descriptor)
{
    if (const int error = flush(descriptor, nextFlushFails())) throwFlushFailure(error);
}

void FailFlushForTesting(int k)
{
    flushesUntilFailure = std::max(k, 0);
}

} // namespace store
