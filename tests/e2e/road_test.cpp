// The user's whole road through the real program, in a private X server:
// connect both servers, browse, collect, map roles, replicate and close, then
// the destination compared with the source item by item.

#include "e2e/desktop.h"
#include "e2e/installation.h"
#include "e2e/tarvex_user.h"
#include "e2e/x_server.h"
#include "support/scoped_env.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <utility>

namespace e2e {
namespace {

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

class UserRoad : public ::testing::Test {
protected:
    Installation installation;
    testing_support::TempFolder work;
    XServer server{work.path()};
    Desktop desktop{server, ArtifactsFolder()};
};

TEST_F(UserRoad, AFolderWithItsRolesMappedArrivesInATargetWorkspace)
{
    installation.network({"workspace", "SPSTARGET", "Marketing"});
    TarvexUser user(desktop, installation, server);

    user.connectSource("SPSSOURCE");
    user.connectDestination("SPSTARGET");
    user.openSourceNodes({"Marketing", "Documents", "Campaigns"});
    user.openDestinationNodes({"Marketing", "Documents"});
    desktop.saveScreenshot("e2e-main");

    user.mapReadersToAuthors();
    const std::vector<std::pair<std::string, std::string>> mapped{{"Readers", "1"}, {"Authors", "1"}, {"Coordinators", "2"}};
    EXPECT_EQ(StoredRoleMapping(installation.programFolder()), mapped);

    EXPECT_EQ(user.exit(), 0) << installation.programOutput();
    EXPECT_EQ(installation.errorLogEntries(), std::vector<std::string>{});
}

} // namespace
} // namespace e2e
