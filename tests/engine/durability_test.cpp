// A replication killed midway (kill -9) loses nothing that it reported
// copied: every document with a "Replicated Successfully." row is in the
// destination whole and published, whatever moment the run was killed at,
// and a second run completes the copy over whatever the first one left.

#include "engine_fixture.h"

#include "app/core/shared_state.h"
#include "app/engine/document_creation.h"
#include "platform/ado/stream.h"
#include "platform/store/sps.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

using namespace engine_testing;

namespace {

const std::string kSourceFolder = "http://SRC/Team/Documents";
constexpr int kDocuments = 40;

std::string NameOf(int index)
{
    return "document " + std::to_string(index) + ".bin";
}

// Small documents and, every eighth, one over several of the pieces content
// moves in.
std::string ContentOf(int index)
{
    const std::size_t size = index % 8 == 7 ? 2 * 1024 * 1024 + std::size_t(index) : 500 + std::size_t(index) * 97;
    return store::GeneratedBinaryContent(size, std::uint32_t(index));
}

struct CopiedDocument {
    std::string content;
    std::string state;
};

CopiedDocument CopyOf(const std::string& url)
{
    store::SpsDocument document;
    document.DataSource().Open(url);
    return {document.contentStream().Read(),
            document.field("urn:schemas-microsoft-com:publishing:documentstate").toString()};
}

class ReplicationCrashTest : public EngineTest {
protected:
    ReplicationCrashTest()
    {
        AddTeamWorkspaces();
        mainWindow.top = kSourceFolder;
        for (int index = 0; index < kDocuments; ++index)
            store::AddDocument(kSourceFolder, NameOf(index), store::DocumentSpec(ContentOf(index)));
        gAssignDocumentMetadata = gAssignDocumentSecurity = gDocStatePublish = true;
    }

    // Copies every document into destination in a child process, which
    // writes the name of each document reported copied to a pipe; kills it
    // with SIGKILL once `reported` names have arrived, and returns the names
    // it reported.
    std::vector<std::string> RunKilledAfter(const std::string& destination, std::size_t reported)
    {
        int pipe[2];
        EXPECT_EQ(::pipe(pipe), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(pipe[0]);
            for (int index = 0; index < kDocuments; ++index) {
                CreateDocument(kSourceFolder, destination, NameOf(index));
                const std::vector<ReportRow> rows = ReportRows();
                if (!rows.empty() && rows.back().remark == "Replicated Successfully.") {
                    const std::string line = NameOf(index) + "\n";
                    if (::write(pipe[1], line.data(), line.size()) < 0) ::_exit(2);
                }
            }
            ::_exit(0);
        }
        ::close(pipe[1]);
        std::vector<std::string> names;
        FILE* lines = ::fdopen(pipe[0], "r");
        char line[256];
        bool killed = false;
        while (std::fgets(line, sizeof line, lines)) {
            names.emplace_back(line, std::strlen(line) - 1);
            if (!killed && names.size() == reported) {
                ::kill(child, SIGKILL);
                killed = true;
            }
        }
        std::fclose(lines);
        int status = 0;
        ::waitpid(child, &status, 0);
        return names;
    }
};

TEST_F(ReplicationCrashTest, NothingReportedCopiedIsLostWhenTheRunIsKilled)
{
    for (const std::size_t killAfter : {1u, 5u, 13u}) {
        SCOPED_TRACE("killed after " + std::to_string(killAfter) + " rows");
        const std::string destination = store::AddFolder("http://DST/Team/Documents", "killed " + std::to_string(killAfter));

        const std::vector<std::string> reported = RunKilledAfter(destination, killAfter);
        ASSERT_GE(reported.size(), killAfter);
        ASSERT_LT(reported.size(), std::size_t(kDocuments)) << "the run ended before it was killed";
        for (const std::string& name : reported) {
            const int index = std::stoi(name.substr(9));
            const CopiedDocument copy = CopyOf(destination + "/" + name);
            EXPECT_EQ(copy.content, ContentOf(index)) << name;
            EXPECT_EQ(copy.state, "published") << name;
        }

        // A second run replaces what the first one left and copies the rest.
        ResetSharedStateForTesting();
        gAssignDocumentMetadata = gAssignDocumentSecurity = gDocStatePublish = true;
        for (int index = 0; index < kDocuments; ++index) CreateDocument(kSourceFolder, destination, NameOf(index));
        EXPECT_EQ(gReplicatedCount, kDocuments);
        EXPECT_EQ(gFailedCount, 0);
        for (int index = 0; index < kDocuments; ++index)
            EXPECT_EQ(CopyOf(destination + "/" + NameOf(index)).content, ContentOf(index)) << NameOf(index);
    }
}

} // namespace
