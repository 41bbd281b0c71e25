#pragma once
// The words of a command line: positional arguments, "--name value" options
// and "--flag" switches, with the usage text to show when they do not fit.

#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class CommandLine {
public:
    // flags: the names that take no value; every other "--name" takes one.
    CommandLine(const std::vector<std::string>& words, const std::set<std::string>& flags);

    // The positional argument at index; UsageError naming what is missing.
    const std::string& positional(std::size_t index, const char* what) const;
    std::size_t positionalCount() const { return positional_.size(); }
    std::optional<std::string> option(const std::string& name) const;
    bool flag(const std::string& name) const { return flags_.count(name) != 0; }
    // An option's value split at ";" (empty when the option is absent).
    std::vector<std::string> list(const std::string& name) const;

private:
    std::vector<std::string> positional_;
    std::map<std::string, std::string> options_;
    std::set<std::string> flags_;
};
