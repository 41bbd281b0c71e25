#pragma once
// The error trap of a procedure: it runs the procedure's statements as steps
// and, when a step fails, applies the procedure's error table. An error that
// no row of the table names is logged with the procedure's tag and the
// procedure goes on with its next step. A row decides otherwise for its error
// numbers: silently go on, set a flag, count, log, record a report remark,
// leave; once the procedure has left, its remaining steps do nothing.
//
//     ErrorTrap trap("in CreateSubFolder");
//     trap.on(kItemExists, [&] { exists = true; });
//     trap.on(kPermissionDenied).count(gFailedCount)
//         .remark(source, destination, " ", "Permission denied to create folder.").leave();
//     trap.step([&] { folder.DataSource().SaveTo(destination, 3, 0x4000000); });
//     const auto name = trap.value([&] { return folder.name(); });
//
// Rows are tested in the order they were declared; the first that names the
// error decides. A row logs nothing unless it says log(). A row writes its
// log entry first and runs its actions last, so that an action that ends the
// program loses nothing the row records.
//
// For tests of whole processes, the environment variable TARVEX_TEST_FAULT
// ("<tag>#<n>", e.g. " in Main#2") makes the n-th step of every trap with that
// tag fail with error 5 in place of running its statement.

#include "app/core/error_catch.h"
#include "platform/com/hresult.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

// A value of a report remark row, read at the moment of the error: a string
// variable of the procedure (taken by reference), a fixed text, or a function.
class RemarkValue {
public:
    RemarkValue(const std::string& variable) : read_([&variable] { return variable; }) {}
    RemarkValue(std::string&& text) : read_([text = std::move(text)] { return text; }) {}
    RemarkValue(const char* text) : RemarkValue(std::string(text)) {}
    template <class Reader>
        requires std::is_invocable_r_v<std::string, Reader>
    RemarkValue(Reader reader) : read_(std::move(reader))
    {
    }

    std::string operator()() const { return read_(); }

private:
    std::function<std::string()> read_;
};

class ErrorRule {
public:
    // Writes the error log entry: number, description and the procedure's tag.
    ErrorRule& log();
    // Writes "No=<number>-due to -" followed by this text in place of the
    // description and the tag.
    ErrorRule& logWith(std::string textAfterNumber);
    ErrorRule& count(std::int32_t& counter);
    // Records a report row (AppendReportEntry) with the values as they stand.
    ErrorRule& remark(RemarkValue source, RemarkValue destination, RemarkValue size, std::string remark);
    ErrorRule& then(std::function<void()> action);
    // The procedure leaves: its later steps do nothing.
    ErrorRule& leave();

private:
    friend class ErrorTrap;
    struct Remark {
        RemarkValue source, destination, size;
        std::string text;
    };

    explicit ErrorRule(std::vector<com::HRESULT> numbers) : numbers_(std::move(numbers)) {}
    bool matches(com::HRESULT number) const;

    std::vector<com::HRESULT> numbers_; // empty: any other error
    std::vector<std::function<void()>> actions_;
    std::int32_t* counter_ = nullptr;
    bool logs_ = false;
    std::string customLogText_;
    std::vector<Remark> remarks_;
    bool leaves_ = false;
};

class ErrorTrap {
public:
    // The tag ends every log entry of the procedure, e.g. "in CreateDocument".
    explicit ErrorTrap(std::string tag);
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // A row for one error number or several; silent and going on unless the
    // row says more. The optional action runs when the row applies.
    ErrorRule& on(com::HRESULT number, std::function<void()> action = {});
    ErrorRule& on(std::initializer_list<com::HRESULT> numbers, std::function<void()> action = {});
    // The row for every error that no earlier row names.
    ErrorRule& onAnyOther();

    // Runs one statement of the procedure, unless the procedure has left.
    template <class Statement>
    void step(Statement&& statement)
    {
        if (left_) return;
        const std::optional<CaughtError> error =
            faultInjectedHere() ? injectedFault() : CatchError(std::forward<Statement>(statement));
        if (error) handle(*error);
    }

    // Runs a statement that yields a value; when it fails (or the procedure
    // has left) the result is the fallback.
    template <class Statement, class Result = std::invoke_result_t<Statement>>
    Result value(Statement&& statement, Result fallback = Result{})
    {
        step([&] { fallback = std::forward<Statement>(statement)(); });
        return fallback;
    }

    bool hasLeft() const { return left_; }
    const std::string& tag() const { return tag_; }

    // Logs an error the procedure finds itself, with its tag; no row of the
    // table applies.
    void logError(com::HRESULT number, const std::string& description) const;

private:
    void handle(const CaughtError& error);
    void apply(ErrorRule& rule, const CaughtError& error);
    // Counts the step; true when TARVEX_TEST_FAULT names this step.
    bool faultInjectedHere();
    static std::optional<CaughtError> injectedFault();

    std::string tag_;
    std::deque<ErrorRule> rules_;
    bool left_ = false;
    int steps_ = 0;
};
