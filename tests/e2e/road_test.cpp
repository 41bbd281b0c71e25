// The user's whole road through the real program, in a private X server:
// connect both servers, browse, collect, map roles, replicate and close; then
// the destination compared with the source item by item, and the report and
// the error log read.

#include "e2e/desktop.h"
#include "e2e/installation.h"
#include "e2e/report_file.h"
#include "e2e/tarvex_user.h"
#include "e2e/x_server.h"
#include "platform/store/admin.h"
#include "support/scoped_env.h"
#include "support/store_tree.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <set>
#include <utility>

namespace e2e {
namespace {

using json = nlohmann::json;
using Items = std::map<std::string, json>;

constexpr char kReplicated[] = "Replicated Successfully.";

std::filesystem::path ArtifactsFolder()
{
    const char* folder = std::getenv("TARVEX_E2E_ARTIFACTS");
    return folder ? std::filesystem::path(folder) : std::filesystem::temp_directory_path() / "tarvex-e2e-artifacts";
}

// The role mapping as the settings database holds it: source role and the
// destination role's position, in table order.
std::vector<std::pair<std::string, std::string>> StoredRoleMapping(const std::filesystem::path& programFolder)
{
    sqlite3* database = nullptr;
    std::vector<std::pair<std::string, std::string>> rows;
    if (sqlite3_open_v2((programFolder / "TarvexDB.mdb").c_str(), &database, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* query = nullptr;
        if (sqlite3_prepare_v2(database, "select SourceRole, DestinationRole from tblPermissions", -1, &query, nullptr)
            == SQLITE_OK) {
            while (sqlite3_step(query) == SQLITE_ROW)
                rows.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(query, 0)),
                                  reinterpret_cast<const char*>(sqlite3_column_text(query, 1)));
        }
        sqlite3_finalize(query);
    }
    sqlite3_close(database);
    return rows;
}

std::string ParentPath(const std::string& path) { return path.substr(0, path.find_last_of('/')); }

// What a folder copied with its security gets through a role mapping (for
// each source role, readers, authors and coordinators, the destination role
// it maps to): each destination role holds the last source role mapped onto
// it, and one that no role maps onto keeps what the new folder took from its
// destination parent.
json MappedRoles(const json& source, const json& parent, const std::array<int, 3>& mapping)
{
    static const char* const kRoles[] = {"readers", "authors", "coordinators"};
    json roles = source;
    for (int role = 0; role < 3; ++role) {
        roles[kRoles[role]] = parent[kRoles[role]];
        for (int from = 0; from < 3; ++from)
            if (mapping[std::size_t(from)] == role) roles[kRoles[role]] = source[kRoles[from]];
    }
    return roles;
}

std::vector<ItemRow> Sorted(std::vector<ItemRow> rows)
{
    std::sort(rows.begin(), rows.end());
    return rows;
}

// The files the store writes first and renames into place; one left behind is
// an item half written.
std::vector<std::filesystem::path> TemporaryFiles(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.path().filename().string().find(".tmp-") != std::string::npos) found.push_back(entry.path());
    return found;
}

// The schema items of a workspace, from the store's dump.
std::vector<json> SchemaItems(const std::string& workspace)
{
    return json::parse(store::DumpItemTree(workspace + "/system/schema"))["children"].get<std::vector<json>>();
}

// The property rows of a profile copy: one per property definition of the
// source, created in the destination or found there already.
std::vector<PropertyRow> ExpectedPropertyRows(const std::vector<json>& sourceSchema, const std::string& destination,
                                              const std::vector<std::string>& destinationSchemaBefore)
{
    std::vector<PropertyRow> rows;
    for (const json& item : sourceSchema) {
        if (item["kind"] != "propertydef") continue;
        const bool existed = std::count(destinationSchemaBefore.begin(), destinationSchemaBefore.end(), item["name"]) > 0;
        rows.push_back({item["title"], destination, existed ? "Property already exists." : "Created Successfully."});
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

// The profile copy reads the fields of a property definition from every
// schema item, the content classes' too, and logs each field a class lacks.
std::vector<std::string> ExpectedProfileCopyLog(const std::vector<json>& sourceSchema, const std::string& schemaUrl)
{
    std::vector<std::string> lines;
    for (const json& item : sourceSchema) {
        if (item["kind"] != "contentclass") continue;
        for (const char* field : {"urn:schemas-microsoft-com:exch-Data:isrequired",
                                  "urn:schemas-microsoft-com:exch-Data:ismultivalued",
                                  "urn:schemas-microsoft-com:publishing:extended-type"})
            lines.push_back("No=-2147220240-due to -The property \"" + std::string(field) + "\" is not set on \"" + schemaUrl +
                            "/" + item["name"].get<std::string>() + "\"in CreateProfiles");
    }
    return lines;
}

// The error log's entries without their dates.
std::vector<std::string> Messages(const std::vector<std::string>& entries)
{
    std::vector<std::string> messages;
    for (const std::string& entry : entries) messages.push_back(entry.substr(entry.find(" -- ") + 4));
    return messages;
}

// A workspace large enough that copying its Documents folder takes seconds
// (1,920 small documents in 48 folders), with two categories holding a few
// more. A run copies a folder tree without giving the window a turn, so the
// Cancel pressed meanwhile is taken at the turn after it, while the run is
// still going.
void AddArchiveWorkspace(const Installation& installation, const std::filesystem::path& scratch)
{
    installation.network({"workspace", "SPSSOURCE", "Archive"});
    // Eight folders an import, so that no import takes long.
    for (int shelf = 0; shelf < 6; ++shelf) {
        const std::filesystem::path boxes = scratch / ("shelf " + std::to_string(shelf));
        for (int box = shelf * 8 + 1; box <= shelf * 8 + 8; ++box)
            for (int record = 1; record <= 40; ++record)
                testing_support::WriteFile(boxes / ("Box " + std::to_string(box)) / ("record " + std::to_string(record) + ".txt"),
                                           std::string(1024 + box * 100 + record, char('a' + (box + record) % 26)));
        installation.network({"import", boxes.string(), "http://SPSSOURCE/Archive/Documents"});
    }
    for (const char* category : {"Contracts", "Invoices"}) {
        const std::string folder = std::string("http://SPSSOURCE/Archive/Categories/") + category;
        installation.network({"folder", folder, "--category"});
        for (int index = 1; index <= 3; ++index) {
            const std::filesystem::path file = scratch / (std::string(category) + " " + std::to_string(index) + ".txt");
            testing_support::WriteFile(file, std::string(2000 + index, 'x'));
            installation.network({"document", folder, file.string()});
        }
    }
}

class UserRoad : public ::testing::Test {
protected:
    // The one report a run wrote, once the shell was asked to open it.
    ReportFile openedReport()
    {
        desktop.waitUntil([&] { return !installation.openedDocuments().empty(); }, "the report to be opened");
        const std::vector<std::filesystem::path> reports = installation.reports();
        EXPECT_EQ(reports.size(), 1u);
        EXPECT_EQ(installation.openedDocuments(), reports);
        return reports.empty() ? ReportFile{} : ReadReport(reports.front());
    }

    Installation installation;
    testing_support::TempFolder work;
    XServer server{work.path()};
    Desktop desktop{server, ArtifactsFolder()};
};

TEST_F(UserRoad, AFolderArrivesInATargetWorkspaceWithItsRolesMapped)
{
    installation.network({"workspace", "SPSTARGET", "Marketing"});
    const std::vector<std::string> targetSchema = testing_support::SchemaItemNames("http://SPSTARGET/Marketing");
    TarvexUser user(desktop, installation, server);

    user.connectSource("SPSSOURCE");
    user.connectDestination("SPSTARGET");
    user.openSourceNodes({"Marketing", "Documents"});
    user.openDestinationNodes({"Marketing", "Documents"});
    user.clickFirstSourceRow("folder", "the folder \"Campaigns 2026\" in the source list");
    desktop.saveScreenshot("e2e-main");
    user.add();

    user.mapReadersToAuthors();
    const std::vector<std::pair<std::string, std::string>> mapped{{"Readers", "1"}, {"Authors", "1"}, {"Coordinators", "2"}};
    EXPECT_EQ(StoredRoleMapping(installation.programFolder()), mapped);

    // The defaults copy neither security nor metadata: the Assign boxes are
    // ticked for the mapping and the properties to travel.
    const WindowId options = user.replicate();
    user.tickAssignBoxes(options);
    user.proceed(options);
    user.answerYes(); // copy the workspace's profiles first
    const ReportFile report = openedReport();
    EXPECT_EQ(user.exit(), 0) << installation.programOutput();

    const std::string source = "http://SPSSOURCE/Marketing/Documents/Campaigns 2026";
    const std::string target = "http://SPSTARGET/Marketing/Documents/Campaigns 2026";
    Items expected = testing_support::CopiedItems(source);
    const json targetParent = testing_support::CopiedItems("http://SPSTARGET/Marketing/Documents").at("");
    for (auto& [path, item] : expected) {
        if (item["kind"] == "document") item["state"] = "published";
        else item = MappedRoles(item, path.empty() ? targetParent : expected.at(ParentPath(path)), {1, 1, 2});
    }
    testing_support::ExpectSameItems(expected, testing_support::CopiedItems(target), target);

    EXPECT_EQ(Sorted(report.items), Sorted({{source, " ", target, kReplicated},
                                            {source + "/Spring Launch", " ", target + "/Spring Launch", kReplicated},
                                            {source + "/Spring Launch/launch plan.docx", "30 KB",
                                             target + "/Spring Launch/launch plan.docx", kReplicated},
                                            {source + "/Spring Launch/banner.png", "4 KB",
                                             target + "/Spring Launch/banner.png", kReplicated},
                                            {source + "/budget.xlsx", "1.5 KB", target + "/budget.xlsx", kReplicated}}));
    EXPECT_EQ(report.summary, (Summary{5, 5, 0}));
    const std::vector<json> sourceSchema = SchemaItems("http://SPSSOURCE/Marketing");
    std::vector<PropertyRow> properties = report.properties;
    std::sort(properties.begin(), properties.end());
    EXPECT_EQ(properties, ExpectedPropertyRows(sourceSchema, "http://SPSTARGET/Marketing", targetSchema));
    EXPECT_EQ(Messages(installation.errorLogEntries()),
              ExpectedProfileCopyLog(sourceSchema, "http://SPSSOURCE/Marketing/system/schema"));
}

TEST_F(UserRoad, AWorkspaceCopyCancelledMidRunLeavesWhatItsReportNamesWhole)
{
    AddArchiveWorkspace(installation, work.path());
    TarvexUser user(desktop, installation, server);

    user.connectSource("SPSSOURCE");
    user.listServers();
    user.openDiscoveredNodes({"TARVEXNET", "SPSTARGET"});
    user.clickFirstSourceRow("workspace", "the workspace \"Archive\" in the source list");
    user.add();

    user.proceed(user.replicate());
    const WindowId progress = user.waitForProgress("Importing Contents...");
    desktop.saveScreenshot("e2e-progress");
    user.cancel(progress);
    user.answerOk(); // the run tells that it stopped at the user's wish
    const ReportFile report = openedReport();
    EXPECT_EQ(user.exit(), 0) << installation.programOutput();

    const std::string source = "http://SPSSOURCE/Archive";
    const std::string target = "http://SPSTARGET/Archive";
    ASSERT_FALSE(report.items.empty());
    EXPECT_EQ(report.items.front(), (ItemRow{source, "", "http://SPSTARGET", kReplicated}));
    const Items copied = testing_support::CopiedItems(target);
    const Items originals = testing_support::CopiedItems(source);
    std::set<std::string> reported;
    for (auto row = report.items.begin() + 1; row != report.items.end(); ++row) {
        EXPECT_EQ(row->remark, kReplicated) << row->source;
        ASSERT_TRUE(row->destination.starts_with(target + "/")) << row->destination;
        const std::string path = row->destination.substr(target.size());
        EXPECT_EQ(row->source, source + path);
        reported.insert(path);
    }
    // Every document and folder in the copy is reported and whole; category
    // folders get no rows.
    for (const auto& [path, item] : copied) {
        const bool content = path.starts_with("/Documents/") || path.starts_with("/Categories/");
        if (!content || item["kind"] == "categoryfolder") continue;
        EXPECT_TRUE(reported.count(path)) << path << " is in the destination but not in the report";
        if (item["kind"] != "document") continue;
        ASSERT_TRUE(originals.count(path)) << path;
        EXPECT_EQ(item["sha256"], originals.at(path)["sha256"]) << path;
        EXPECT_EQ(item["state"], "published") << path;
    }
    for (const std::string& path : reported) EXPECT_TRUE(copied.count(path)) << path << " is reported but missing";
    EXPECT_EQ(TemporaryFiles(installation.networkRoot() / "hosts"), std::vector<std::filesystem::path>{});
    ASSERT_TRUE(report.summary.has_value());
    EXPECT_EQ(report.summary->items, int(report.items.size()));
    EXPECT_EQ(report.summary->failed, 0);
    EXPECT_EQ(installation.errorLogEntries(), std::vector<std::string>{});
}

// Both panes on one demo network, browsed with the keys: a folder added into a
// pending folder opens with its own source's content; then a large workspace
// is replicated with the folders, Esc is pressed during the copy and answered
// Yes: the run stops as a cancelled run, its report is written and opened,
// and the program ends. Every item the report calls copied is in the
// destination, each document with its source's SHA-256.
TEST_F(UserRoad, EscDuringALargeRunEndsItWithItsReportAndThenTheProgram)
{
    AddArchiveWorkspace(installation, work.path());
    installation.network({"workspace", "SPSTARGET", "Team"});
    TarvexUser user(desktop, installation, server);
    user.connectSource("SPSSOURCE");
    user.connectDestination("SPSTARGET");

    user.openSourceNodes({"Marketing", "Documents"});
    user.openDestinationNodes({"Team", "Documents"});
    user.clickFirstSourceRow("folder", "the folder \"Campaigns 2026\" in the source list");
    user.add();
    user.openDestinationNodes({"Team", "Documents", "Campaigns"});
    user.openSourceNodes({"Research", "Documents"});
    user.clickFirstSourceRow("folder", "the folder \"Datasheets\" in the source list");
    user.add();
    user.openDestinationNodes({"Team", "Documents", "Campaigns", "Datasheets"});
    desktop.saveScreenshot("e2e-nested-pending-folder");

    // The destination's server, then the source's first workspace, Archive.
    user.pressKeys("Home");
    user.openSourceNodes({});
    user.pressKeys("Left");
    user.clickFirstSourceRow("workspace", "the workspace \"Archive\" in the source list");
    user.add();
    user.proceed(user.replicate());

    const std::filesystem::path copying =
        installation.networkRoot() / "hosts" / "SPSTARGET" / "store" / "Archive" / "Documents" / "Box 1";
    desktop.waitUntil([&] { return std::filesystem::exists(copying); }, "the workspace's documents to be copied");
    user.pressEscape();
    desktop.waitForWindow("Tarvex");
    desktop.saveScreenshot("e2e-close-during-run");
    user.answerYes();
    user.answerOk(); // the run tells that it stopped at the user's wish
    EXPECT_EQ(user.waitForEnd(), 0) << installation.programOutput();
    const ReportFile report = openedReport();

    // Each copied item below the roots added: the workspace, the folder added
    // into Team/Documents and the folder added into that one.
    const std::pair<std::string, std::string> roots[] = {
        {"http://SPSSOURCE/Research and Development/Documents/Datasheets",
         "http://SPSTARGET/Team/Documents/Campaigns 2026/Datasheets"},
        {"http://SPSSOURCE/Marketing/Documents/Campaigns 2026", "http://SPSTARGET/Team/Documents/Campaigns 2026"},
        {"http://SPSSOURCE/Archive", "http://SPSTARGET/Archive"},
    };
    std::map<std::string, Items> dumps;
    const auto dumped = [&](const std::string& url) -> const Items& {
        auto found = dumps.find(url);
        return found != dumps.end() ? found->second : dumps.emplace(url, testing_support::CopiedItems(url)).first->second;
    };
    ASSERT_FALSE(report.items.empty());
    std::set<std::string> copiedDocuments;
    for (const ItemRow& row : report.items) {
        EXPECT_EQ(row.remark, kReplicated) << row.source;
        if (row.destination == "http://SPSTARGET") continue; // the workspace's own row
        const auto root = std::find_if(std::begin(roots), std::end(roots),
                                       [&](const auto& pair) { return row.source.starts_with(pair.first); });
        ASSERT_NE(root, std::end(roots)) << row.source;
        const std::string path = row.source.substr(root->first.size());
        EXPECT_EQ(row.destination, root->second + path);
        const Items& copies = dumped(root->second);
        ASSERT_TRUE(copies.count(path)) << row.destination << " is reported but missing";
        if (copies.at(path)["kind"] != "document") continue;
        EXPECT_EQ(copies.at(path)["sha256"], dumped(root->first).at(path)["sha256"]) << row.destination;
        copiedDocuments.insert(row.destination);
    }
    EXPECT_TRUE(copiedDocuments.count("http://SPSTARGET/Team/Documents/Campaigns 2026/Datasheets/test report.pdf"));
    EXPECT_EQ(TemporaryFiles(installation.networkRoot() / "hosts"), std::vector<std::filesystem::path>{});
    EXPECT_EQ(installation.errorLogEntries(), std::vector<std::string>{});
}

} // namespace
} // namespace e2e
