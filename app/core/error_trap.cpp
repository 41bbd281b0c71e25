#include "app/core/error_trap.h"

#include "app/core/activity_report.h"
#include "app/core/error_log.h"

#include <algorithm>

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

ErrorRule& ErrorRule::count(std::int16_t& counter)
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

void ErrorTrap::handle(com::HRESULT number, const std::string& description)
{
    for (ErrorRule& rule : rules_) {
        if (rule.matches(number)) {
            apply(rule, number, description);
            return;
        }
    }
    WriteErrorLog(ErrorLogEntry(number, description, tag_));
}

void ErrorTrap::apply(ErrorRule& rule, com::HRESULT number, const std::string& description)
{
    for (const auto& action : rule.actions_) action();
    if (rule.counter_) ++*rule.counter_;
    if (rule.logs_) {
        WriteErrorLog(rule.customLogText_.empty() ? ErrorLogEntry(number, description, tag_)
                                                  : ErrorLogEntry(number, rule.customLogText_, ""));
    }
    for (const auto& remark : rule.remarks_)
        AppendReportEntry(remark.source(), remark.destination(), remark.size(), remark.text);
    if (rule.leaves_) left_ = true;
}
