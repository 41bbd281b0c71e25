#include "platform/ado/connection.h"
#include "platform/ado/table_recordset.h"
#include "support/scoped_env.h"

#include <gtest/gtest.h>

namespace {

using testing_support::TempFolder;

class ConnectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        file_ = folder_.path() / "settings.mdb";
        ado::CreateDatabaseFile(file_);
        connection_.open(file_);
        connection_.execute("Create Table tblRoles(SourceRole  text(255),DestinationRole text(255))");
    }

    void addRole(ado::TableRecordset& records, const std::string& source, const std::string& destination)
    {
        records.addNew();
        records.setField("SourceRole", source);
        records.setField("destinationrole", destination);
        records.update();
    }

    std::vector<std::string> sourceRoles()
    {
        std::vector<std::string> roles;
        for (ado::Recordset records = connection_.openStatic("select * from tblRoles"); !records.eof(); records.moveNext())
            roles.push_back(records.field(0).toString());
        return roles;
    }

    TempFolder folder_;
    std::filesystem::path file_;
    ado::Connection connection_;
};

TEST(SqlDialect, JetDeleteStatementsAreTranslated)
{
    EXPECT_EQ(ado::ToSqliteDialect("delete * from tblPermissions"), "delete from tblPermissions");
    EXPECT_EQ(ado::ToSqliteDialect("DELETE  *  FROM tblSecurity"), "delete from tblSecurity");
    EXPECT_EQ(ado::ToSqliteDialect("delete from tblSecurity"), "delete from tblSecurity");
    EXPECT_EQ(ado::ToSqliteDialect("select * from tblSecurity"), "select * from tblSecurity");
}

TEST(Connection, AMissingFileIsAnErrorAndIsNotCreated)
{
    TempFolder folder;
    ado::Connection connection;
    try {
        connection.open(folder.path() / "TarvexDB.mdb");
        FAIL() << "a missing database opened";
    } catch (const com::ComError& error) {
        EXPECT_EQ(error.number(), ado::adErrDatabase);
        EXPECT_NE(error.description().find("Could not find file"), std::string::npos);
    }
    EXPECT_EQ(connection.state(), ado::adStateClosed);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "TarvexDB.mdb"));
}

TEST(Connection, CreatingAnExistingDatabaseFails)
{
    TempFolder folder;
    ado::CreateDatabaseFile(folder.path() / "a.mdb");
    EXPECT_GT(std::filesystem::file_size(folder.path() / "a.mdb"), 0u);
    EXPECT_THROW(ado::CreateDatabaseFile(folder.path() / "a.mdb"), com::ComError);
}

TEST_F(ConnectionTest, NewRowsAreReadBackInOrderByPositionAndByName)
{
    ado::TableRecordset records(connection_, "tblRoles");
    EXPECT_TRUE(records.eof());
    addRole(records, "Readers", "0");
    EXPECT_EQ(records.field("SourceRole").toString(), "Readers"); // the new row is current
    addRole(records, "Authors", "1");

    ado::Recordset read = connection_.openStatic("select * from tblRoles");
    ASSERT_EQ(read.recordCount(), 2);
    EXPECT_EQ(read.field(0).toString(), "Readers");
    EXPECT_EQ(read.field("DESTINATIONROLE").toString(), "0");
    read.moveNext();
    EXPECT_EQ(read.field(1).toString(), "1");
}

TEST_F(ConnectionTest, UnsetFieldsReadAsNullAndUnknownFieldsAreRefused)
{
    ado::TableRecordset records(connection_, "tblRoles");
    EXPECT_THROW(records.setField("SourceRole", "x"), com::ComError); // no new row started
    records.addNew();
    try {
        records.setField("NoSuchColumn", "x");
        FAIL();
    } catch (const com::ComError& error) {
        EXPECT_EQ(error.number(), ado::adErrItemNotFound);
    }
    records.setField("SourceRole", "Readers");
    records.update();
    EXPECT_TRUE(connection_.openStatic("select * from tblRoles").field(1).isNull());
}

TEST_F(ConnectionTest, ATransactionLeftWithoutCommitRollsBack)
{
    {
        ado::TableRecordset records(connection_, "tblRoles");
        addRole(records, "Readers", "0");
    }
    {
        ado::Transaction transaction(connection_);
        connection_.execute("delete * from tblRoles");
        ado::TableRecordset records(connection_, "tblRoles");
        addRole(records, "Authors", "1");
    }
    EXPECT_EQ(sourceRoles(), std::vector<std::string>{"Readers"});

    {
        ado::Transaction transaction(connection_);
        connection_.execute("delete * from tblRoles");
        transaction.commit();
    }
    EXPECT_TRUE(sourceRoles().empty());
}

TEST_F(ConnectionTest, TableNamesMustBePlainIdentifiers)
{
    EXPECT_THROW(ado::TableRecordset(connection_, "tblRoles; drop table tblRoles"), com::ComError);
    EXPECT_THROW(ado::RequirePlainTableName("tblRoles where 1=1"), com::ComError);
    EXPECT_NO_THROW(ado::RequirePlainTableName("tblSPSClient"));
}

TEST_F(ConnectionTest, AStatementTheEngineRefusesIsAnError)
{
    try {
        connection_.execute("select * from tblMissing");
        FAIL();
    } catch (const com::ComError& error) {
        EXPECT_EQ(error.number(), ado::adErrStatement);
        EXPECT_NE(error.description().find("tblMissing"), std::string::npos);
    }
}

} // namespace
