// Lists a folder of many documents into the source pane of the main window
// (the folder listing: rows with type, size and last-modified time, icons,
// progress) and reads the same folder through the store alone (its two
// listings, and each document's last-modified time and size), taking turns, in a
// temporary network. Prints the median time of each, the peak memory of the
// program holding the listing, and last the ratio listing time / store time.
//
//   list_view_bench [COUNT] [ROUNDS]       (defaults 10000 and 5)

#include "app/mainwindow/frm_main_gui.h"
#include "bench_network.h"
#include "platform/store/admin.h"
#include "platform/store/sps.h"
#include "platform/sys/program_folder.h"
#include "platform/ui/form_instance.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char* const kExtensions[] = {".txt", ".pdf", ".docx", ".png", ".csv", ".zip"};

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "list_view_bench: %s\n", what);
        std::exit(1);
    }
}

double seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The most memory the process has held so far, in megabytes.
double peakMegabytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::atof(line.c_str() + 6) / 1024;
    return 0;
}

std::string documentName(int index)
{
    char name[40];
    std::snprintf(name, sizeof name, "report %05d%s", index, kExtensions[index % std::size(kExtensions)]);
    return name;
}

// What the listing reads of the store, and nothing more: the folder's
// documents and subfolders, and each document's last-modified time and size.
int storeAlone(const std::string& folderUrl)
{
    store::SpsFolder folder;
    folder.DataSource().Open(folderUrl);
    ado::Recordset items = folder.Items();
    int read = folder.Subfolders().recordCount();
    for (; !items.eof(); items.moveNext()) {
        store::SpsDocument document;
        document.DataSource().Open(folderUrl + "/" + items.field(0).toString());
        read += document.lastModified().seconds >= 0 && document.size() >= 0;
    }
    return read;
}

} // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    check(count > 0 && rounds > 0, "the count and rounds must be positive numbers");
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);

    const fs::path root = bench::MakeBenchNetwork();
    fs::create_directories(root / "program");
    sys::SetProgramFolderForTesting(root / "program");
    const std::string folderUrl = store::AddFolder(store::AddWorkspace("SRV", "Bench") + "/Documents", "Big");
    for (int i = 0; i < count; ++i)
        store::AddDocument(folderUrl, documentName(i), store::DocumentSpec(std::string(100 + i % 3000, 'x')));
    std::printf("%d documents of %zu types in one folder, %d rounds\n", count, std::size(kExtensions), rounds);

    FrmMainGUI& window = ui::FormInstance<FrmMainGUI>::get();
    window.DisplaySourceWorkspaces("SRV");
    ui::TreeView& tree = *window.tvTop;
    window.Get_FilesFolders("http://SRV/Bench", true, tree.Nodes().Item(1).Child());
    window.Get_FilesFolders("http://SRV/Bench/Documents", true, tree.Nodes().Item(1).Child().Child());
    const ui::TreeNode big = tree.Nodes().Item(1).Child().Child().Child();
    check(big.Text() == "Big", "the folder is not in the tree");

    std::vector<double> listing;
    std::vector<double> storeOnly;
    for (int round = 0; round < rounds; ++round) {
        listing.push_back(seconds([&] { window.Get_FilesFolders(folderUrl, true, big); }));
        check(window.lvTop->ListItems().Count() == count, "the list misses documents");
        int read = 0;
        storeOnly.push_back(seconds([&] { read = storeAlone(folderUrl); }));
        check(read == count, "the store missed documents");
    }
    const double peak = peakMegabytes();
    ui::FormInstance<FrmMainGUI>::unload();
    fs::remove_all(root);

    const double listingTime = median(listing);
    const double storeTime = median(storeOnly);
    std::printf("list view   %8.3f s  (%8.0f rows/s)\n", listingTime, count / listingTime);
    std::printf("store alone %8.3f s  (%8.0f documents/s)\n", storeTime, count / storeTime);
    std::printf("peak memory %8.1f MB\n", peak);
    std::printf("list_view_ratio %.2f\n", listingTime / storeTime);
    return 0;
}
