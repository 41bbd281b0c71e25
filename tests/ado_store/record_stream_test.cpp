// Records and streams on store items: a document's content copied through
// them arrives byte for byte, whatever type and character set the stream has.

#include "platform/ado/record.h"
#include "platform/ado/recordset.h"
#include "platform/ado/stream.h"
#include "platform/store/errors.h"
#include "platform/store/sps.h"
#include "support/store_fixture.h"

#include <gtest/gtest.h>

namespace {

using testing_support::ErrorOf;
using testing_support::StoreNetwork;

std::string everyByteValue()
{
    std::string bytes;
    for (int round = 0; round < 3; ++round)
        for (int value = 0; value < 256; ++value) bytes += char(value);
    return bytes + std::string("\r\n\0\x80\xff", 5) + "Grüße";
}

class RecordStreamTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        network.addServer("SRC");
        network.addServer("DST");
        source = store::AddWorkspace("SRC", "Team") + "/Documents";
        target = store::AddWorkspace("DST", "Team") + "/Documents";
        store::AddDocument(source, "picture.png", store::DocumentSpec(everyByteValue()));
    }

    StoreNetwork network;
    std::string source;
    std::string target;
};

TEST_F(RecordStreamTest, BinaryContentCopiedThroughAnAsciiTextStreamArrivesUnchanged)
{
    store::SpsDocument destination;
    ado::Stream& content = destination.contentStream();

    ado::Record record;
    record.Open("picture.png", "URL=" + source, 0, -1, 512);
    ado::Stream stream;
    stream.setType(ado::adTypeText);
    stream.setCharset("ascii");
    stream.Open(record, ado::adModeRead, ado::adOpenStreamFromRecord);
    stream.CopyTo(content, ado::adCopyAll);
    content.Flush();
    EXPECT_EQ(destination.size(), std::int32_t(everyByteValue().size()));
    destination.DataSource().SaveTo(target + "/picture.png");
    stream.Close();
    record.Close();

    store::SpsDocument copy;
    copy.DataSource().Open(target + "/picture.png");
    EXPECT_EQ(copy.contentStream().Read(), everyByteValue());
    EXPECT_EQ(copy.property("DAV:getcontentlength").toInt32(), std::int32_t(everyByteValue().size()));
}

TEST_F(RecordStreamTest, ARecordOpensByFullUrlOrBelowTheConnectionsFolder)
{
    ado::Record byUrl;
    byUrl.Open(source + "/PICTURE.PNG");
    ado::Stream stream;
    stream.Open(byUrl);
    EXPECT_EQ(stream.Read(), everyByteValue());
    ado::Record byFolder;
    byFolder.Open("picture.png", "url=" + source + "/");
    EXPECT_EQ(byFolder.url(), source + "/picture.png");

    EXPECT_EQ(ErrorOf([&] { ado::Record().Open("missing.png", "URL=" + source); }), store::errItemNotFound);
    network.actAs("TARVEXNET", "stranger");
    EXPECT_EQ(ErrorOf([&] { ado::Record().Open("picture.png", "URL=" + source); }), store::errPermissionDenied);
}

TEST_F(RecordStreamTest, StreamsReadWriteAndCopyFromTheirPosition)
{
    ado::Stream stream;
    EXPECT_EQ(ErrorOf([&] { stream.Read(); }), ado::adErrObjectClosed);
    stream.Open();
    stream.Write("abcdef");
    stream.setPosition(2);
    stream.Write("XY");
    EXPECT_EQ(stream.size(), 6);
    stream.setPosition(1);
    EXPECT_EQ(stream.Read(2), "bX");

    ado::Stream copy;
    copy.Open();
    stream.CopyTo(copy, 2);
    stream.CopyTo(copy);
    copy.setPosition(0);
    EXPECT_EQ(copy.Read(), "Yef");
    EXPECT_EQ(ErrorOf([&] { ado::Record().content(); }), ado::adErrObjectClosed);
}

} // namespace
