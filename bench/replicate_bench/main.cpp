// replicate_bench: a source workspace of 2,000 documents (1 KB to 256 KB,
// about 40 MB) in 100 folders with 10 property definitions, replicated into an
// empty destination server with every option on. Prints documents and
// megabytes per second and, last, the ratio of the replication time to a plain
// recursive copy ("cp -a") of the source store folder.

#include "fake_forms.h"

#include "app/core/settings_database.h"
#include "app/core/shared_state.h"
#include "app/engine/replication_drivers.h"
#include "platform/com/module_loader.h"
#include "platform/net/network.h"
#include "platform/store/admin.h"
#include "platform/sys/program_folder.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kFolders = 100;
constexpr int kDocuments = 2000;
const std::string kOffice = "urn:schemas-microsoft-com:office:office#";

// Mostly small documents, every twentieth a large one: about 40 MB in all.
std::size_t DocumentSize(int index)
{
    if (index % 20 == 19) return 160 * 1024 + std::size_t(index) * 7919 % (96 * 1024);
    return 1024 + std::size_t(index) * 104729 % (19 * 1024);
}

fs::path ExecutableFolder()
{
    return fs::read_symlink("/proc/self/exe").parent_path();
}

void SetEnvironment(const char* name, const std::string& value) { setenv(name, value.c_str(), 1); }

void AddHost(const std::string& name)
{
    net::HostInfo host;
    host.name = name;
    host.domain = "BENCHNET";
    host.serverType = "server";
    host.administrators = {"BENCHNET\\bench"};
    net::SaveHost(host);
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
    for (int i = 0; i < kDocuments; ++i) {
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

double Seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Replicate()
{
    gSelectedSources = "http://SRC/Bench|";
    gSelectedDestinations = "http://DST=";
    gSelectedTypes = "2~";
    gSourceServerName = "SRC";
    gDestServerName = "DST";
    gReplicateWorkspaceContent = gReplicateFolders = gReplicateDocuments = gWorkspacesInCart = true;
    gAssignFolderProfiles = gAssignFolderSecurity = gAssignDocumentMetadata = gAssignDocumentSecurity = true;
    gDocStatePublish = true;
    DoWorkspaceReplication();
}

} // namespace

int main()
{
    char pattern[] = "/tmp/replicate-bench-XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    const fs::path work = pattern;
    try {
        SetEnvironment("TARVEX_NETWORK", (work / "network").string());
        SetEnvironment("USERDOMAIN", "BENCHNET");
        SetEnvironment("USERNAME", "bench");
        net::InitializeNetwork({"WORKSTATION", {"BENCHNET"}});
        for (const char* host : {"WORKSTATION", "SRC", "DST"}) AddHost(host);
        store::MakeStoreServer("SRC", store::ServerLanguage::English);
        store::MakeStoreServer("DST", store::ServerLanguage::English);
        const com::ModuleEntryPoints& registry = com::LoadModule((ExecutableFolder() / "Vornik.so").string());
        if (!registry.registerServer || registry.registerServer() != 0) throw std::runtime_error("cannot register Vornik.so");

        fs::create_directories(work / "program");
        sys::SetProgramFolderForTesting(work / "program");
        CreateDatabase();
        engine_testing::FakeImportingForm importing;
        engine_testing::FakeRoleMappingForm roleMapping;
        engine_testing::FakeMainWindow mainWindow;
        mainWindow.top = "http://SRC/Bench";
        InstallImportingForm(&importing);
        InstallRoleMappingForm(&roleMapping);
        InstallMainWindowForm(&mainWindow);

        std::cout << "building the source workspace..." << std::endl;
        const std::size_t bytes = BuildSource();
        const double megabytes = double(bytes) / (1024 * 1024);
        std::cout << "documents " << kDocuments << ", folders " << kFolders << ", content " << megabytes << " MB"
                  << std::endl;

        // The plain copy runs before and after the replication, each from a
        // disk without pending writes, and the ratio takes their mean: file
        // creation on a busy file system slows down as deleted files pile up.
        const fs::path sourceStore = net::FindHost("SRC")->folder / "store";
        int copies = 0;
        const auto plainCopy = [&] {
            ::sync();
            const std::string target = (work / ("plain copy " + std::to_string(++copies))).string();
            return Seconds([&] {
                if (std::system(("cp -a '" + sourceStore.string() + "' '" + target + "'").c_str()) != 0)
                    throw std::runtime_error("cp -a failed");
            });
        };
        const double copyBefore = plainCopy();
        ::sync();
        const double replicationSeconds = Seconds(Replicate);
        const double copyAfter = plainCopy();
        const double copySeconds = (copyBefore + copyAfter) / 2;

        std::printf("report_rows %d\n", CountOf(gReportStatus, "##"));
        std::printf("failed_items %d\n", int(gFailedCount));
        std::printf("replication_seconds %.3f\n", replicationSeconds);
        std::printf("plain_copy_seconds %.3f (before %.3f, after %.3f)\n", copySeconds, copyBefore, copyAfter);
        std::printf("documents_per_second %.1f\n", kDocuments / replicationSeconds);
        std::printf("megabytes_per_second %.2f\n", megabytes / replicationSeconds);
        std::printf("ratio_vs_plain_copy %.2f\n", replicationSeconds / copySeconds);
    } catch (const std::exception& error) {
        std::cerr << "replicate_bench: " << error.what() << std::endl;
        fs::remove_all(work);
        return 1;
    }
    fs::remove_all(work);
    return 0;
}
