#include "command_line.h"

CommandLine::CommandLine(const std::vector<std::string>& words, const std::set<std::string>& flags)
{
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.size() <= 2 || word.rfind("--", 0) != 0) {
            positional_.push_back(word);
            continue;
        }
        const std::string name = word.substr(2);
        if (flags.count(name)) {
            flags_.insert(name);
        } else if (i + 1 < words.size()) {
            options_[name] = words[++i];
        } else {
            throw UsageError("the option --" + name + " needs a value");
        }
    }
}

const std::string& CommandLine::positional(std::size_t index, const char* what) const
{
    if (index >= positional_.size()) throw UsageError(std::string("missing ") + what);
    return positional_[index];
}

std::optional<std::string> CommandLine::option(const std::string& name) const
{
    const auto found = options_.find(name);
    if (found == options_.end()) return std::nullopt;
    return found->second;
}

std::vector<std::string> CommandLine::list(const std::string& name) const
{
    std::vector<std::string> values;
    const std::optional<std::string> text = option(name);
    if (!text || text->empty()) return values;
    std::size_t start = 0;
    for (;;) {
        const std::size_t separator = text->find(';', start);
        values.push_back(text->substr(start, separator == std::string::npos ? std::string::npos : separator - start));
        if (separator == std::string::npos) return values;
        start = separator + 1;
    }
}
