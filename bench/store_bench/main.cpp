// Saves small documents, checks each one in (a change of its metadata only),
// lists their folder and opens and reads every one, through the store and
// through plain file-system calls doing the same work, in a temporary
// network. Prints items per second and the ratios store time / plain time.
//
//   store_bench [COUNT]        (default 10000)

#include "bench_network.h"
#include "platform/store/admin.h"
#include "platform/store/sps.h"
#include "platform/ado/stream.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kRounds = 5;
const std::string kContent(200, 'x');

double seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The best of several runs, for work that can be repeated.
double bestOf(const std::function<void()>& work)
{
    double best = seconds(work);
    for (int round = 1; round < kRounds; ++round) best = std::min(best, seconds(work));
    return best;
}

std::string documentName(int index)
{
    char name[32];
    std::snprintf(name, sizeof name, "document %05d.txt", index);
    return name;
}

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "store_bench: %s\n", what);
        std::exit(1);
    }
}

// Plain calls: write a temporary, flush it once, rename it into place, as
// the store does for each item.
void plainSave(const fs::path& folder, int first, int end, bool flush)
{
    for (int i = first; i < end; ++i) {
        const std::string name = documentName(i);
        const fs::path temporary = folder / (".tmp." + name);
        const int file = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        check(file >= 0 && ::write(file, kContent.data(), kContent.size()) == ssize_t(kContent.size()), "plain write failed");
        if (flush) check(::fdatasync(file) == 0, "plain flush failed");
        ::close(file);
        check(::rename(temporary.c_str(), (folder / name).c_str()) == 0, "plain rename failed");
    }
}

// Plain calls: read each file and write a small record into it in place,
// flushed once, as the store does for a change of metadata only.
void plainUpdate(const fs::path& folder, int first, int end)
{
    const std::string record(100, 'm');
    char buffer[4096];
    for (int i = first; i < end; ++i) {
        const int file = ::open((folder / documentName(i)).c_str(), O_RDWR | O_CLOEXEC);
        check(file >= 0 && ::read(file, buffer, sizeof buffer) >= 0, "plain read failed");
        check(::pwrite(file, record.data(), record.size(), 0) == ssize_t(record.size()), "plain write failed");
        check(::fsync(file) == 0, "plain flush failed");
        ::close(file);
    }
}

// Plain calls: the names, kinds and times of a folder's entries.
std::size_t plainList(const fs::path& folder)
{
    DIR* stream = ::opendir(folder.c_str());
    std::size_t count = 0;
    while (const dirent* entry = ::readdir(stream)) {
        struct stat status {};
        if (entry->d_name[0] != '.' && ::fstatat(dirfd(stream), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0) ++count;
    }
    ::closedir(stream);
    return count;
}

std::size_t plainRead(const fs::path& folder, int count)
{
    std::size_t total = 0;
    char buffer[4096];
    for (int i = 0; i < count; ++i) {
        const int file = ::open((folder / documentName(i)).c_str(), O_RDONLY | O_CLOEXEC);
        for (ssize_t n; (n = ::read(file, buffer, sizeof buffer)) > 0;) total += std::size_t(n);
        ::close(file);
    }
    return total;
}

void report(const char* what, int count, double storeSeconds, double plainSeconds)
{
    std::printf("%-7s store %10.0f items/s  (%.3f s)   plain %10.0f items/s  (%.3f s)\n", what, count / storeSeconds,
                storeSeconds, count / plainSeconds, plainSeconds);
}

} // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    check(count > 0, "the count must be a positive number");

    const fs::path root = bench::MakeBenchNetwork();
    const std::string folderUrl = store::AddWorkspace("SRV", "Bench") + "/Documents";
    const fs::path plainFolder = root / "plain";
    const fs::path unflushedFolder = root / "plain-unflushed";
    fs::create_directories(plainFolder);
    fs::create_directories(unflushedFolder);

    std::printf("%d documents of %zu bytes\n", count, kContent.size());

    // Creating and flushing files slows down while many files deleted a short
    // time ago are about, so the ways of saving (and of updating, below) take
    // turns in small batches and meet the same state of the file system.
    constexpr int kBatch = 250;
    double plainUnflushed = 0;
    double plainSaving = 0;
    double storeSaving = 0;
    for (int first = 0; first < count; first += kBatch) {
        const int end = std::min(count, first + kBatch);
        plainUnflushed += seconds([&] { plainSave(unflushedFolder, first, end, false); });
        plainSaving += seconds([&] { plainSave(plainFolder, first, end, true); });
        storeSaving += seconds([&] {
            for (int i = first; i < end; ++i) {
                store::SpsDocument document;
                document.contentStream().Write(kContent);
                document.DataSource().SaveTo(folderUrl + "/" + documentName(i));
            }
        });
    }

    double plainUpdating = 0;
    double storeUpdating = 0;
    for (int first = 0; first < count; first += kBatch) {
        const int end = std::min(count, first + kBatch);
        plainUpdating += seconds([&] { plainUpdate(plainFolder, first, end); });
        storeUpdating += seconds([&] {
            for (int i = first; i < end; ++i) {
                store::SpsDocument document;
                document.DataSource().Open(folderUrl + "/" + documentName(i));
                store::SpsVersion().checkIn(document);
            }
        });
    }

    std::size_t plainListed = 0;
    int storeListed = 0;
    const double plainListing = bestOf([&] { plainListed = plainList(plainFolder); });
    const double storeListing = bestOf([&] {
        store::SpsFolder folder;
        folder.DataSource().Open(folderUrl);
        ado::Recordset items = folder.Items();
        storeListed = 0;
        for (; !items.eof(); items.moveNext()) storeListed += !items.field(0).toString().empty();
    });
    check(plainListed == std::size_t(count) && storeListed == count, "a listing missed documents");

    std::size_t plainBytes = 0;
    std::size_t storeBytes = 0;
    const double plainReading = bestOf([&] { plainBytes = plainRead(plainFolder, count); });
    const double storeReading = bestOf([&] {
        storeBytes = 0;
        for (int i = 0; i < count; ++i) {
            store::SpsDocument document;
            document.DataSource().Open(folderUrl + "/" + documentName(i));
            storeBytes += document.contentStream().Read().size();
        }
    });
    check(plainBytes == storeBytes, "the store read other bytes than were saved");

    report("list", count, storeListing, plainListing);
    report("read", count, storeReading, plainReading);
    report("save", count, storeSaving, plainSaving);
    report("update", count, storeUpdating, plainUpdating);
    std::printf("(plain saving without flushing each file: %.0f items/s, %.3f s)\n", count / plainUnflushed,
                plainUnflushed);
    std::printf("list_ratio %.2f\n", storeListing / plainListing);
    std::printf("read_ratio %.2f\n", storeReading / plainReading);
    std::printf("save_ratio %.2f\n", storeSaving / plainSaving);
    std::printf("update_ratio %.2f\n", storeUpdating / plainUpdating);

    std::error_code ignored;
    fs::remove_all(root, ignored);
    return 0;
}
