// The publishing state of documents: checked out, checked in, published.

#include "platform/store/errors.h"
#include "platform/store/sps.h"
#include "support/store_fixture.h"

#include <gtest/gtest.h>

namespace {

using testing_support::StoreNetwork;

struct Publishing {
    std::string isCheckedOut;
    std::string lastUnapprovedVersion;
    std::string documentState;

    friend bool operator==(const Publishing&, const Publishing&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Publishing& p)
    {
        return out << p.isCheckedOut << " " << p.lastUnapprovedVersion << " " << p.documentState;
    }
};

Publishing publishingOf(const store::SpsItem& item)
{
    return {item.field("urn:schemas-microsoft-com:publishing:IsCheckedOut").toString(),
            item.field("urn:schemas-microsoft-com:publishing:LastUnapprovedVersion").toString(),
            item.field("urn:schemas-microsoft-com:publishing:documentstate").toString()};
}

Publishing storedPublishing(const std::string& url)
{
    store::SpsDocument doc;
    doc.DataSource().Open(url);
    return publishingOf(doc);
}

class StorePublishingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        network.addServer("SRV");
        documents = store::AddWorkspace("SRV", "Team") + "/Documents";
    }

    StoreNetwork network;
    std::string documents;
};

TEST_F(StorePublishingTest, SaveCheckInAndPublishMoveTheDocumentThroughItsStates)
{
    const std::string url = documents + "/report.doc";
    store::SpsDocument doc;
    store::SpsVersion version;
    doc.DataSource().SaveTo(url);
    EXPECT_EQ(storedPublishing(url), (Publishing{"True", "", "checkedout"}));

    version.checkIn(doc);
    EXPECT_EQ(publishingOf(doc), (Publishing{"False", "(version 1.1)", "checkedin"}));
    EXPECT_EQ(storedPublishing(url), (Publishing{"False", "(version 1.1)", "checkedin"}));

    version.publish(doc);
    EXPECT_EQ(storedPublishing(url), (Publishing{"False", "(version 2.0)", "published"}));

    version.checkIn(doc); // nothing checked out: nothing changes
    EXPECT_EQ(storedPublishing(url), (Publishing{"False", "(version 2.0)", "published"}));
}

TEST_F(StorePublishingTest, PublishingACheckedOutDocumentChecksItInFirst)
{
    store::SpsDocument doc;
    doc.DataSource().SaveTo(documents + "/direct.doc");
    store::SpsVersion().publish(doc);
    EXPECT_EQ(storedPublishing(documents + "/direct.doc"), (Publishing{"False", "(version 2.0)", "published"}));
}

TEST_F(StorePublishingTest, BuilderStatesMatchWhatTheStoreItselfProduces)
{
    const std::pair<store::DocumentState, Publishing> cases[] = {
        {store::DocumentState::CheckedOut, {"True", "", "checkedout"}},
        {store::DocumentState::CreatedCheckedIn, {"False", "", "createdcheckedin"}},
        {store::DocumentState::CheckedIn, {"False", "(version 1.1)", "checkedin"}},
        {store::DocumentState::Published, {"False", "(version 2.0)", "published"}},
    };
    int number = 0;
    for (const auto& [state, expected] : cases) {
        store::DocumentSpec newDocument("x");
        newDocument.state = state;
        EXPECT_EQ(storedPublishing(store::AddDocument(documents, std::to_string(++number) + ".txt", newDocument)), expected);
    }
}

TEST_F(StorePublishingTest, CheckInCommitsTheValuesTheObjectHolds)
{
    store::SpsDocument doc;
    doc.DataSource().SaveTo(documents + "/values.doc");
    doc.setMetadataValue(com::Variant("copied metadata"));
    store::SpsVersion().checkIn(doc);

    store::SpsDocument reread;
    reread.DataSource().Open(documents + "/values.doc");
    EXPECT_EQ(reread.metadataValue(), com::Variant("copied metadata"));
}

TEST_F(StorePublishingTest, SavingInPlaceKeepsTheState)
{
    store::DocumentSpec newDocument("x");
    newDocument.state = store::DocumentState::Published;
    const std::string url = store::AddDocument(documents, "kept.doc", newDocument);
    store::SpsDocument doc;
    doc.DataSource().Open(url);
    doc.setProperty("urn:x#note", "changed");
    doc.DataSource().Save();
    EXPECT_EQ(storedPublishing(url), (Publishing{"False", "(version 2.0)", "published"}));
}

} // namespace
