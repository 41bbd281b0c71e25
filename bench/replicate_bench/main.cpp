// replicate_bench: a source workspace of 2,000 documents (1 KB to 256 KB,
// about 40 MB) in 100 folders with 10 property definitions, replicated with
// every option on, against the copies that also make each file durable.
//
// The source is built once. Then, in interleaved rounds, the same tree is
// copied four ways, each into a fresh target and followed by "sync -f" on it:
// the replication into a new destination server (which makes each document
// durable before its report row stands), "rsync -a --fsync" (each file
// durable), and "rsync -a" and "cp -a" of the source's store folder (one
// flush at the end). Each round starts with another of them. Targets get
// unique names in folders marked "chattr +T" where the file system has the
// attribute; the disk is synced before each timing and left to settle for a
// few seconds after it, so that one copy's writeback and freed blocks do not
// weigh on the next one's time. Nothing is deleted until the end.
//
// Last, a new process copies one large document (256 MB, or the size given
// by TARVEX_BENCH_LARGE_MB) and reports its peak resident size. The final
// line is the ratio of the replication's median to rsync's.
//
//   replicate_bench                       the whole benchmark
//   TARVEX_BENCH_ROUNDS=9 replicate_bench more rounds (5 by default)
//   TARVEX_BENCH_SETTLE=0 replicate_bench  seconds of rest after each copy (3)
//   TARVEX_BENCH_DOCUMENTS=4000 replicate_bench   more documents
//   replicate_bench --large-document MB   only the large document's copy

#include "fake_forms.h"

#include "app/core/report_entries.h"
#include "app/core/settings_database.h"
#include "app/core/shared_state.h"
#include "app/engine/replication_drivers.h"
#include "platform/com/module_loader.h"
#include "platform/net/network.h"
#include "platform/store/admin.h"
#include "platform/sys/program_folder.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kFolders = 100;
constexpr int kDefaultDocuments = 2000;
constexpr int kDefaultRounds = 5;
constexpr int kDefaultSettleSeconds = 3;
constexpr std::size_t kDefaultLargeMegabytes = 256;
const std::string kOffice = "urn:schemas-microsoft-com:office:office#";

// Mostly small documents, every twentieth a large one: about 40 MB in all.
std::size_t DocumentSize(int index)
{
    if (index % 20 == 19) return 160 * 1024 + std::size_t(index) * 7919 % (96 * 1024);
    return 1024 + std::size_t(index) * 104729 % (19 * 1024);
}

fs::path ExecutablePath()
{
    return fs::read_symlink("/proc/self/exe");
}

std::size_t NumberFromEnvironment(const char* name, std::size_t fallback)
{
    const char* value = std::getenv(name);
    const long number = value ? std::atol(value) : 0;
    return number > 0 ? std::size_t(number) : fallback;
}

std::string Quoted(const fs::path& path)
{
    std::string quoted = "'";
    for (const char c : path.string()) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

void Run(const std::string& command)
{
    if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
}

// Marks a folder as the top of a directory hierarchy, so that the folders
// made in it spread over the disk; false where the file system cannot.
bool MarkTopOfHierarchy(const fs::path& folder)
{
    fs::create_directories(folder);
    return std::system(("chattr +T " + Quoted(folder) + " 2>/dev/null").c_str()) == 0;
}

double Seconds(const std::function<void()>& work)
{
    ::sync();
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A timing with the disk synced before it and left to rest after it.
double SettledSeconds(const std::function<void()>& work)
{
    const double seconds = Seconds(work);
    ::sync();
    const char* settle = std::getenv("TARVEX_BENCH_SETTLE");
    ::sleep(settle ? unsigned(std::atoi(settle)) : kDefaultSettleSeconds);
    return seconds;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// A network of its own below work, with the current user BENCHNET\bench
// administering every host; the folder that holds the hosts is marked as
// the top of a hierarchy where it can be.
bool MakeNetwork(const fs::path& work)
{
    ::setenv("TARVEX_NETWORK", (work / "network").c_str(), 1);
    ::setenv("USERDOMAIN", "BENCHNET", 1);
    ::setenv("USERNAME", "bench", 1);
    const bool marked = MarkTopOfHierarchy(work / "network" / "hosts");
    net::InitializeNetwork({"WORKSTATION", {"BENCHNET"}});
    return marked;
}

void AddServer(const std::string& name, bool store = true)
{
    net::HostInfo host;
    host.name = name;
    host.domain = "BENCHNET";
    host.serverType = "server";
    host.administrators = {"BENCHNET\\bench"};
    net::SaveHost(host);
    if (store) store::MakeStoreServer(name, store::ServerLanguage::English);
}

// The engine's surroundings: the program folder with its settings database,
// the registry component that workspace creation asks, and the forms.
struct EngineSetting {
    explicit EngineSetting(const fs::path& work)
    {
        const com::ModuleEntryPoints& registry = com::LoadModule((ExecutablePath().parent_path() / "Vornik.so").string());
        if (!registry.registerServer || registry.registerServer() != 0) throw std::runtime_error("cannot register Vornik.so");
        fs::create_directories(work / "program");
        sys::SetProgramFolderForTesting(work / "program");
        CreateDatabase();
    }

    void install()
    {
        InstallImportingForm(&importing);
        InstallRoleMappingForm(&roleMapping);
        InstallMainWindowForm(&mainWindow);
    }

    engine_testing::FakeImportingForm importing;
    engine_testing::FakeRoleMappingForm roleMapping;
    engine_testing::FakeMainWindow mainWindow;
};

// The number of documents: 2,000, or TARVEX_BENCH_DOCUMENTS to see how the
// time grows with it.
int DocumentCount()
{
    return int(NumberFromEnvironment("TARVEX_BENCH_DOCUMENTS", kDefaultDocuments));
}

// The source workspace; returns the number of content bytes.
std::size_t BuildSource()
{
    const std::string workspace = store::AddWorkspace("SRC", "Bench");
    store::SetRoles(workspace, {{"\\Everyone"}, {"BENCHNET\\anna"}, {"BENCHNET\\bench"}});
    const char* types[] = {"Text", "Number", "Date", "List", "Comment Box", "Text"};
    for (int i = 0; i < 6; ++i) {
        const std::string name = "Field" + std::to_string(i);
        store::AddPropertyDefinition(workspace, {name + ".xml", kOffice + name, name, "", types[i],
                                                 store::DataTypeFor(types[i]), false, false, {"One", "Two"}});
    }

    std::vector<std::string> folders;
    for (int top = 0; top < 10; ++top) {
        const std::string parent = store::AddFolder(workspace + "/Documents", "Area " + std::to_string(top));
        folders.push_back(parent);
        for (int sub = 0; sub < 9; ++sub) folders.push_back(store::AddFolder(parent, "Topic " + std::to_string(sub)));
    }
    std::size_t bytes = 0;
    for (int i = 0; i < DocumentCount(); ++i) {
        store::DocumentSpec document(store::GeneratedBinaryContent(DocumentSize(i), std::uint32_t(i)));
        document.state = i % 3 == 0 ? store::DocumentState::Published : store::DocumentState::CheckedIn;
        document.properties[kOffice + "Title"] = "Document " + std::to_string(i);
        document.properties[kOffice + "Field0"] = "Text " + std::to_string(i % 17);
        document.properties[kOffice + "Field1"] = std::int32_t(i);
        bytes += document.content.size();
        store::AddDocument(folders[std::size_t(i) % folders.size()], "document " + std::to_string(i) + ".bin", document);
    }
    return bytes;
}

int CountOf(const std::string& text, const std::string& part)
{
    int count = 0;
    for (auto found = text.find(part); found != std::string::npos; found = text.find(part, found + part.size())) ++count;
    return count;
}

void SetEveryOption()
{
    gReplicateWorkspaceContent = gReplicateFolders = gReplicateDocuments = gWorkspacesInCart = true;
    gAssignFolderProfiles = gAssignFolderSecurity = gAssignDocumentMetadata = gAssignDocumentSecurity = true;
    gDocStatePublish = true;
}

// One round's replication of the source workspace into the new server.
void ReplicateWorkspace(EngineSetting& engine, const std::string& destination)
{
    ResetSharedStateForTesting();
    engine.install();
    engine.mainWindow.top = "http://SRC/Bench";
    gSelectedSources = "http://SRC/Bench|";
    gSelectedDestinations = "http://" + destination + "=";
    gSelectedTypes = "2~";
    gSourceServerName = "SRC";
    gDestServerName = destination;
    SetEveryOption();
    DoWorkspaceReplication();
    // As the end of a run does before its report: every row stands for a
    // durable item.
    SettleReportEntries();
    const int rows = CountOf(gReportStatus, "##");
    if (gFailedCount != 0 || rows != DocumentCount() + kFolders + 1)
        throw std::runtime_error("the replication into " + destination + " reported " + std::to_string(gFailedCount)
                                 + " failures in " + std::to_string(rows) + " rows");
}

struct Timings {
    std::vector<double> replication;
    std::vector<double> rsyncFsync;
    std::vector<double> rsyncThenSync;
    std::vector<double> copyThenSync;
};

Timings RunRounds(EngineSetting& engine, const fs::path& work, std::size_t rounds)
{
    const fs::path source = net::FindHost("SRC")->folder / "store";
    const fs::path copies = work / "copies";
    if (!MarkTopOfHierarchy(copies)) std::printf("note: chattr +T is not supported here; targets are plain folders\n");
    const auto synced = [](const std::string& command, const fs::path& target) {
        Run(command);
        Run("sync -f " + Quoted(target));
    };

    Timings timings;
    for (std::size_t round = 1; round <= rounds; ++round) {
        const std::string destination = "DST" + std::to_string(round);
        AddServer(destination);
        const auto target = [&](const char* tool) { return copies / (tool + std::string(" ") + std::to_string(round)); };
        const std::array<std::function<void()>, 4> copiers = {
            [&] {
                timings.replication.push_back(SettledSeconds([&] {
                    ReplicateWorkspace(engine, destination);
                    Run("sync -f " + Quoted(net::FindHost(destination)->folder / "store"));
                }));
            },
            [&] {
                timings.rsyncFsync.push_back(SettledSeconds([&] {
                    synced("rsync -a --fsync " + Quoted(source) + "/ " + Quoted(target("rsync-fsync")) + "/",
                           target("rsync-fsync"));
                }));
            },
            [&] {
                timings.rsyncThenSync.push_back(SettledSeconds([&] {
                    synced("rsync -a " + Quoted(source) + "/ " + Quoted(target("rsync")) + "/", target("rsync"));
                }));
            },
            [&] {
                timings.copyThenSync.push_back(
                    SettledSeconds([&] { synced("cp -a " + Quoted(source) + " " + Quoted(target("cp")), target("cp")); }));
            },
        };
        for (std::size_t turn = 0; turn < copiers.size(); ++turn) copiers[(round + turn) % copiers.size()]();
        std::printf("round %zu: replication %.3f s, rsync_fsync %.3f s, rsync_then_sync %.3f s, cp_then_sync %.3f s\n",
                    round, timings.replication.back(), timings.rsyncFsync.back(), timings.rsyncThenSync.back(),
                    timings.copyThenSync.back());
        std::fflush(stdout);
    }
    return timings;
}

long StatusKilobytes(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with(field + ":")) return std::atol(line.c_str() + field.size() + 1);
    return -1;
}

// The peak resident size from now on: the kernel's high-water mark is reset
// to the present size.
bool ResetPeakResidentSize()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return bool(clear.flush());
}

// Copies one document of the given size with every option on, in a process
// of its own, and prints its resident sizes.
int LargeDocument(std::size_t megabytes)
{
    char pattern[] = "/tmp/replicate-bench-large-XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    const fs::path work = pattern;
    int status = 1;
    try {
        MakeNetwork(work);
        AddServer("WORKSTATION", false);
        AddServer("BIGSRC");
        AddServer("BIGDST");
        // The document is made in a child process: its content is built in
        // memory there, which this process must not have held.
        const pid_t builder = ::fork();
        if (builder == 0) {
            const std::string folder = store::AddWorkspace("BIGSRC", "Large") + "/Documents";
            store::AddWorkspace("BIGDST", "Large");
            store::DocumentSpec document(store::GeneratedBinaryContent(megabytes << 20, 17));
            document.state = store::DocumentState::Published;
            store::AddDocument(folder, "large.bin", document);
            ::_exit(0);
        }
        int built = 0;
        if (builder < 0 || ::waitpid(builder, &built, 0) != builder || built != 0)
            throw std::runtime_error("cannot build the large document");

        EngineSetting engine(work);
        engine.install();
        engine.mainWindow.top = "http://BIGSRC/Large";
        ResetSharedStateForTesting();
        gSelectedSources = "http://BIGSRC/Large/Documents/large.bin|";
        gSelectedDestinations = "http://BIGDST/Large/Documents=";
        gSelectedTypes = "3~";
        gDestServerName = "BIGDST";
        SetEveryOption();

        const long baseline = StatusKilobytes("VmRSS");
        if (!ResetPeakResidentSize()) throw std::runtime_error("cannot reset the peak resident size");
        const double seconds = Seconds([] {
            DoDefaultReplication();
            SettleReportEntries();
        });
        const long peak = StatusKilobytes("VmHWM");
        if (gReplicatedCount != 1) throw std::runtime_error("the large document was not copied");
        std::printf("large_document_mb %zu\n", megabytes);
        std::printf("large_document_seconds %.3f\n", seconds);
        std::printf("baseline_rss_mb %.1f\n", double(baseline) / 1024);
        std::printf("extra_rss_mb_%zumb_document %.1f\n", megabytes, double(peak - baseline) / 1024);
        std::printf("peak_rss_mb_%zumb_document %.1f\n", megabytes, double(peak) / 1024);
        status = 0;
    } catch (const std::exception& error) {
        std::cerr << "replicate_bench: " << error.what() << std::endl;
    }
    fs::remove_all(work);
    return status;
}

int WholeBenchmark()
{
    char pattern[] = "/tmp/replicate-bench-XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    const fs::path work = pattern;
    int status = 1;
    try {
        const std::size_t rounds = NumberFromEnvironment("TARVEX_BENCH_ROUNDS", kDefaultRounds);
        if (!MakeNetwork(work)) std::printf("note: chattr +T is not supported here; hosts are plain folders\n");
        AddServer("WORKSTATION", false);
        AddServer("SRC");
        EngineSetting engine(work);

        std::cout << "building the source workspace..." << std::endl;
        const double megabytes = double(BuildSource()) / (1024 * 1024);
        if (std::getenv("ONCE")) {
            for (int r = 1; r <= 3; ++r) {
            std::printf("ready %d\n", (int)getpid()); std::fflush(stdout);
            ::sync(); ::sleep(std::atoi(std::getenv("ONCE")));
            AddServer("DSTX" + std::to_string(r));
            const double s = Seconds([&]{ ReplicateWorkspace(engine, "DSTX" + std::to_string(r)); });
            std::printf("once %.3f\n", s); std::fflush(stdout);
            }
            ::sleep(1);
            fs::remove_all(work);
            return 0;
        }
        std::printf("documents %d, folders %d, content %.1f MB, rounds %zu\n", DocumentCount(), kFolders, megabytes,
                    rounds);

        const Timings timings = RunRounds(engine, work, rounds);
        const double replication = Median(timings.replication);
        const double rsyncFsync = Median(timings.rsyncFsync);
        const double rsyncThenSync = Median(timings.rsyncThenSync);
        const double copyThenSync = Median(timings.copyThenSync);
        std::printf("replication_seconds_median %.3f\n", replication);
        std::printf("rsync_fsync_seconds_median %.3f\n", rsyncFsync);
        std::printf("rsync_then_sync_seconds_median %.3f\n", rsyncThenSync);
        std::printf("cp_then_sync_seconds_median %.3f\n", copyThenSync);
        std::printf("documents_per_second %.1f\n", DocumentCount() / replication);
        std::printf("megabytes_per_second %.2f\n", megabytes / replication);
        std::printf("ratio_vs_cp_then_sync %.2f\n", replication / copyThenSync);
        std::printf("ratio_vs_rsync_then_sync %.2f\n", replication / rsyncThenSync);
        std::fflush(stdout);

        const std::size_t large = NumberFromEnvironment("TARVEX_BENCH_LARGE_MB", kDefaultLargeMegabytes);
        if (std::system((Quoted(ExecutablePath()) + " --large-document " + std::to_string(large)).c_str()) != 0)
            throw std::runtime_error("the large document's copy failed");
        std::printf("ratio_vs_rsync_fsync %.2f\n", replication / rsyncFsync);
        status = 0;
    } catch (const std::exception& error) {
        std::cerr << "replicate_bench: " << error.what() << std::endl;
    }
    fs::remove_all(work);
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--large-document") return LargeDocument(std::size_t(std::atol(argv[2])));
    return WholeBenchmark();
}
