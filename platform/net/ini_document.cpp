#include "platform/net/ini_document.h"

#include "platform/com/hresult.h"
#include "platform/net/case_fold.h"

#include <algorithm>

namespace net {

namespace {

std::string_view trim(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

void requireSingleLine(std::string_view text)
{
    if (text.find_first_of("\r\n") != std::string_view::npos)
        throw com::ComError(com::E_INVALIDARG, "A setting cannot hold a line break: \"" + std::string(text) + "\"");
}

} // namespace

IniDocument IniDocument::Parse(std::string_view text)
{
    IniDocument document;
    document.sections_.push_back({});
    std::string current;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);

        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[' && line.back() == ']') {
            current = std::string(trim(line.substr(1, line.size() - 2)));
            if (!document.findSection(current)) document.sections_.push_back({current, {}});
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        // A repeated section header adds to the first section of that name.
        Section* section = document.findSection(current);
        const std::string key(trim(line.substr(0, equals)));
        const std::string value(trim(line.substr(equals + 1)));
        auto existing = std::find_if(section->entries.begin(), section->entries.end(),
                                     [&](const Entry& entry) { return EqualsIgnoringCase(entry.key, key); });
        if (existing != section->entries.end()) existing->value = value;
        else section->entries.push_back({key, value});
    }
    return document;
}

std::string IniDocument::toText() const
{
    std::string text;
    for (const Section& section : sections_) {
        if (section.name.empty() && section.entries.empty()) continue;
        if (!section.name.empty()) {
            if (!text.empty()) text += '\n';
            text += '[' + section.name + "]\n";
        }
        for (const Entry& entry : section.entries) text += entry.key + " = " + entry.value + '\n';
    }
    return text;
}

std::optional<std::string> IniDocument::value(std::string_view sectionName, std::string_view key) const
{
    const Section* section = findSection(sectionName);
    if (!section) return std::nullopt;
    for (const Entry& entry : section->entries)
        if (EqualsIgnoringCase(entry.key, key)) return entry.value;
    return std::nullopt;
}

std::string IniDocument::valueOr(std::string_view section, std::string_view key, std::string_view fallback) const
{
    return value(section, key).value_or(std::string(fallback));
}

void IniDocument::setValue(std::string_view sectionName, std::string_view key, std::string_view value)
{
    requireSingleLine(sectionName);
    requireSingleLine(key);
    requireSingleLine(value);
    Section* section = findSection(sectionName);
    if (!section) {
        sections_.push_back({std::string(sectionName), {}});
        section = &sections_.back();
    }
    for (Entry& entry : section->entries) {
        if (EqualsIgnoringCase(entry.key, key)) {
            entry.value = std::string(trim(value));
            return;
        }
    }
    section->entries.push_back({std::string(key), std::string(trim(value))});
}

std::vector<std::string> IniDocument::sectionNames() const
{
    std::vector<std::string> names;
    for (const Section& section : sections_)
        if (!section.name.empty()) names.push_back(section.name);
    return names;
}

void IniDocument::removeSection(std::string_view name)
{
    std::erase_if(sections_, [&](const Section& section) {
        return !section.name.empty() && EqualsIgnoringCase(section.name, name);
    });
}

IniDocument::Section* IniDocument::findSection(std::string_view name)
{
    for (Section& section : sections_)
        if (EqualsIgnoringCase(section.name, name)) return &section;
    return nullptr;
}

const IniDocument::Section* IniDocument::findSection(std::string_view name) const
{
    return const_cast<IniDocument*>(this)->findSection(name);
}

std::vector<std::string> SplitList(std::string_view text)
{
    std::vector<std::string> items;
    while (!text.empty()) {
        const auto comma = text.find(',');
        const std::string_view item = trim(text.substr(0, comma));
        if (!item.empty()) items.emplace_back(item);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return items;
}

std::string JoinList(const std::vector<std::string>& items)
{
    std::string text;
    for (const std::string& item : items) {
        if (item.find(',') != std::string::npos)
            throw com::ComError(com::E_INVALIDARG, "A list item cannot hold a comma: \"" + item + "\"");
        if (!text.empty()) text += ", ";
        text += item;
    }
    return text;
}

bool ParseFlag(std::string_view text, bool fallback)
{
    const std::string folded = CaseFold(trim(text));
    if (folded == "yes" || folded == "true" || folded == "1") return true;
    if (folded == "no" || folded == "false" || folded == "0") return false;
    return fallback;
}

} // namespace net
