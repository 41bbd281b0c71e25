// Entries of a store's folder that are neither files nor folders (made by
// hand or by another program) are never items and never hold the store up.

#include "platform/store/errors.h"
#include "platform/store/sps.h"
#include "support/store_fixture.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using testing_support::ErrorOf;
using testing_support::StoreNetwork;

TEST(StoreUnusualEntriesTest, APipeIsNoItemAndOpeningItDoesNotWaitForAWriter)
{
    StoreNetwork network;
    network.addServer("SRV");
    const std::string documents = store::AddWorkspace("SRV", "Team") + "/Documents";
    const std::filesystem::path folder = network.storeFolder("SRV") / "Team" / "Documents";
    ASSERT_EQ(::mkfifo((folder / "pipe.doc").c_str(), 0644), 0);
    ASSERT_EQ(::mkdir((folder / "Piped").c_str(), 0755), 0);
    ASSERT_EQ(::mkfifo((folder / "Piped" / ".tvx.folder.json").c_str(), 0644), 0);

    store::SpsDocument document;
    EXPECT_EQ(ErrorOf([&] { document.DataSource().Open(documents + "/pipe.doc"); }), store::errItemNotFound);
    store::SpsFolder piped;
    EXPECT_EQ(ErrorOf([&] { piped.DataSource().Open(documents + "/Piped"); }), store::errDamagedItem);

    store::SpsFolder listed;
    listed.DataSource().Open(documents);
    ado::Recordset items = listed.Items();
    EXPECT_EQ(items.recordCount(), 0);
}

} // namespace
