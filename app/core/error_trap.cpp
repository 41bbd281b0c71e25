#include "app/core/error_trap.h"

#include "app/core/error_log.h"
#include "app/core/report_entries.h"
#include "app/core/runtime_errors.h"

#include <algorithm>
#include <cstdlib>

namespace {

// The step that TARVEX_TEST_FAULT names, read once per process.
struct FaultPoint {
    std::string tag;
    int step = 0;
};

std::optional<FaultPoint> readFaultPoint()
{
    const char* value = std::getenv("TARVEX_TEST_FAULT");
    if (!value) return std::nullopt;
    const std::string text = value;
    const std::size_t separator = text.rfind('#');
    if (separator == std::string::npos) return std::nullopt;
    const int step = std::atoi(text.c_str() + separator + 1);
    if (step <= 0) return std::nullopt;
    return FaultPoint{text.substr(0, separator), step};
}

const std::optional<FaultPoint>& faultPoint()
{
    static const std::optional<FaultPoint> point = readFaultPoint();
    return point;
}

} // namespace

ErrorRule& ErrorRule::log()
{
    logs_ = true;
    return *this;
}

ErrorRule& ErrorRule::logWith(std::string textAfterNumber)
{
    logs_ = true;
    customLogText_ = std::move(textAfterNumber);
    return *this;
}

ErrorRule& ErrorRule::count(std::int32_t& counter)
{
    counter_ = &counter;
    return *this;
}

ErrorRule& ErrorRule::remark(RemarkValue source, RemarkValue destination, RemarkValue size, std::string remark)
{
    remarks_.push_back({std::move(source), std::move(destination), std::move(size), std::move(remark)});
    return *this;
}

ErrorRule& ErrorRule::then(std::function<void()> action)
{
    if (action) actions_.push_back(std::move(action));
    return *this;
}

ErrorRule& ErrorRule::leave()
{
    leaves_ = true;
    return *this;
}

bool ErrorRule::matches(com::HRESULT number) const
{
    return numbers_.empty() || std::find(numbers_.begin(), numbers_.end(), number) != numbers_.end();
}

ErrorTrap::ErrorTrap(std::string tag) : tag_(std::move(tag)) {}

ErrorRule& ErrorTrap::on(com::HRESULT number, std::function<void()> action) { return on({number}, std::move(action)); }

ErrorRule& ErrorTrap::on(std::initializer_list<com::HRESULT> numbers, std::function<void()> action)
{
    return rules_.emplace_back(ErrorRule(std::vector<com::HRESULT>(numbers))).then(std::move(action));
}

ErrorRule& ErrorTrap::onAnyOther() { return rules_.emplace_back(ErrorRule({})); }

void ErrorTrap::handle(const CaughtError& error)
{
    for (ErrorRule& rule : rules_) {
        if (rule.matches(error.number)) {
            apply(rule, error);
            return;
        }
    }
    WriteErrorLog(ErrorLogEntry(error.number, error.description, tag_));
}

void ErrorTrap::apply(ErrorRule& rule, const CaughtError& error)
{
    if (rule.logs_) {
        WriteErrorLog(rule.customLogText_.empty() ? ErrorLogEntry(error.number, error.description, tag_)
                                                  : ErrorLogEntry(error.number, rule.customLogText_, ""));
    }
    if (rule.counter_) ++*rule.counter_;
    for (const auto& remark : rule.remarks_)
        AppendReportEntry(remark.source(), remark.destination(), remark.size(), remark.text);
    if (rule.leaves_) left_ = true;
    // Last, as an action may end the program.
    for (const auto& action : rule.actions_) action();
}

void ErrorTrap::logError(com::HRESULT number, const std::string& description) const
{
    WriteErrorLog(ErrorLogEntry(number, description, tag_));
}

bool ErrorTrap::faultInjectedHere()
{
    ++steps_;
    const std::optional<FaultPoint>& point = faultPoint();
    return point && point->step == steps_ && point->tag == tag_;
}

std::optional<CaughtError> ErrorTrap::injectedFault()
{
    return CatchError([] { RaiseRuntimeError(kInvalidProcedureCall); });
}
