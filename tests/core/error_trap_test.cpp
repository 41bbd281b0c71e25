#include "app/core/error_trap.h"
#include "app/core/runtime_errors.h"
#include "core_fixture.h"

namespace {

constexpr com::HRESULT kNotFound = com::MakeHResult(0x80040E19);
constexpr com::HRESULT kExists = com::MakeHResult(0x80040E98);
constexpr com::HRESULT kDenied = com::MakeHResult(0x80040E09);

[[noreturn]] void fail(com::HRESULT number, const std::string& description = "Failure.")
{
    throw com::ComError(number, description);
}

using ErrorTrapTest = CoreTest;

TEST_F(ErrorTrapTest, AnErrorNoRowNamesIsLoggedWithTheTagAndTheProcedureGoesOn)
{
    ErrorTrap trap("in CreateDocument");
    std::vector<int> ran;
    trap.step([&] { ran.push_back(1); });
    trap.step([&] { fail(kNotFound, "The item was not found."); });
    trap.step([&] { ran.push_back(3); });

    EXPECT_EQ(ran, (std::vector<int>{1, 3}));
    EXPECT_FALSE(trap.hasLeft());
    EXPECT_EQ(lastLogLine(), kLogTime + "No=-2147217895-due to -The item was not found.in CreateDocument");
}

TEST_F(ErrorTrapTest, ASilentRowRunsItsActionAndWritesNothing)
{
    ErrorTrap trap("in CreateSubFolder");
    bool exists = false;
    trap.on(kExists, [&] { exists = true; });
    bool after = false;
    trap.step([] { fail(kExists); });
    trap.step([&] { after = true; });

    EXPECT_TRUE(exists);
    EXPECT_TRUE(after);
    EXPECT_FALSE(std::filesystem::exists(ErrorLogFile()));
    EXPECT_TRUE(gReportSrc.empty());
}

TEST_F(ErrorTrapTest, CountLogRemarkAndLeaveTogetherUseTheValuesAsTheyStandAtTheError)
{
    std::string size; // still empty at the start, set before the failing step
    const std::string source = "http://SRC/ws/docs/a.doc";
    ErrorTrap trap("in CreateDocument");
    trap.on({kDenied, com::MakeHResult(0xC00CE556)})
        .count(gFailedCount)
        .log()
        .remark(source, "http://DST/ws/docs/a.doc", size, "Permission denied to create document.")
        .leave();

    bool ranAfterLeaving = false;
    trap.step([&] { size = "1.5 KB"; });
    trap.step([] { fail(com::MakeHResult(0xC00CE556), "Access is denied."); });
    trap.step([&] { ranAfterLeaving = true; });
    const int fallback = trap.value([] { return 7; }, -1);

    EXPECT_TRUE(trap.hasLeft());
    EXPECT_FALSE(ranAfterLeaving);
    EXPECT_EQ(fallback, -1);
    EXPECT_EQ(gFailedCount, 1);
    EXPECT_EQ(gReplicatedCount, 0);
    EXPECT_EQ(gReportSrc, "##http://SRC/ws/docs/a.doc");
    EXPECT_EQ(gReportDest, "##http://DST/ws/docs/a.doc");
    EXPECT_EQ(gReportSize, "##1.5 KB");
    EXPECT_EQ(gReportStatus, "##Permission denied to create document.");
    EXPECT_EQ(lastLogLine(), kLogTime + "No=-1072896682-due to -Access is denied.in CreateDocument");
}

TEST_F(ErrorTrapTest, ARowMayLogATextOfItsOwnInPlaceOfDescriptionAndTag)
{
    ErrorTrap trap("in CreateDocument");
    trap.on(kPermissionDenied)
        .count(gReplicatedCount)
        .logWith("Permission denied to publish the document- in CreateDocument")
        .leave();
    trap.step([] { RaiseRuntimeError(kPermissionDenied); });

    EXPECT_EQ(gReplicatedCount, 1);
    EXPECT_EQ(lastLogLine(), kLogTime + "No=70-due to -Permission denied to publish the document- in CreateDocument");
}

TEST_F(ErrorTrapTest, ARowRecordsEverythingBeforeItActsSoAnActionThatEndsTheProgramLosesNothing)
{
    ErrorTrap trap(" in Main");
    std::string logAtAction;
    std::int32_t countAtAction = -1;
    std::string remarksAtAction;
    trap.onAnyOther().log().count(gFailedCount).remark("a", "b", "", "Failed.").then([&] {
        logAtAction = lastLogLine();
        countAtAction = gFailedCount;
        remarksAtAction = gReportStatus;
    });
    trap.step([] { fail(kDenied, "Denied."); });

    EXPECT_EQ(logAtAction, kLogTime + "No=-2147217911-due to -Denied. in Main");
    EXPECT_EQ(countAtAction, 1);
    EXPECT_EQ(remarksAtAction, "##Failed.");
}

TEST_F(ErrorTrapTest, TheFirstMatchingRowDecidesAndAnyOtherCatchesTheRest)
{
    ErrorTrap trap("in GetElapsedTimeText");
    std::vector<std::string> seen;
    trap.on(kTypeMismatch, [&] { seen.push_back("13"); });
    trap.on({kTypeMismatch, kDivisionByZero}, [&] { seen.push_back("13 or 11"); });
    trap.onAnyOther().then([&] { seen.push_back("other"); }).leave();

    trap.step([] { RaiseRuntimeError(kTypeMismatch); });
    trap.step([] { RaiseRuntimeError(kDivisionByZero); });
    EXPECT_FALSE(trap.hasLeft());
    trap.step([] { RaiseRuntimeError(kSubscriptOutOfRange); });
    EXPECT_TRUE(trap.hasLeft());

    EXPECT_EQ(seen, (std::vector<std::string>{"13", "13 or 11", "other"}));
    EXPECT_FALSE(std::filesystem::exists(ErrorLogFile())); // no row said log
}

TEST_F(ErrorTrapTest, StepsYieldValuesAndFailuresOfAnyKindAreTrapped)
{
    ErrorTrap trap("in GetDoc");
    EXPECT_EQ(trap.value([] { return std::string("a.doc"); }), "a.doc");
    EXPECT_EQ(trap.value([]() -> std::string { throw std::runtime_error("bad"); }), "");
    EXPECT_EQ(lastLogLine(), kLogTime + "No=-2147467259-due to -badin GetDoc");
}

TEST(RuntimeErrors, CarryTheRuntimeNumbersAndDescriptions)
{
    const struct {
        com::HRESULT number;
        const char* description;
    } cases[] = {{9, "Subscript out of range"}, {11, "Division by zero"}, {13, "Type mismatch"},
                 {70, "Permission denied"}, {76, "Path not found"}};
    for (const auto& c : cases) {
        try {
            RaiseRuntimeError(c.number);
        } catch (const com::ComError& error) {
            EXPECT_EQ(error.number(), c.number);
            EXPECT_EQ(error.description(), c.description);
        }
    }
}

} // namespace
