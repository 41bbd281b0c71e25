#include "platform/com/registrar.h"

#include "platform/registry/hive.h"
#include "platform/registry/key_names.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <utility>
#include <variant>

namespace com {

namespace {

using Action = RegistrarEntry::Action;

struct Word {
    std::string text;
    bool quoted = false;
};

// Splits a line into words: runs of non-blank characters, or quoted texts.
// nullopt for an unterminated quote.
std::optional<std::vector<Word>> SplitWords(std::string_view line)
{
    std::vector<Word> words;
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
        if (i == line.size()) return words;
        Word word;
        if (line[i] == '\'') {
            word.quoted = true;
            ++i;
            while (true) {
                if (i == line.size()) return std::nullopt;
                if (line[i] == '\'') {
                    if (i + 1 < line.size() && line[i + 1] == '\'') {
                        word.text += '\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                word.text += line[i++];
            }
        } else {
            while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) word.text += line[i++];
        }
        words.push_back(std::move(word));
    }
}

void ReplaceAll(std::string& text, std::string_view placeholder, std::string_view replacement)
{
    for (auto at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at + replacement.size()))
        text.replace(at, placeholder.size(), replacement);
}

std::optional<winreg::HKEY> HiveNamed(std::string_view name)
{
    if (name == "HKCR") return winreg::HKEY_CLASSES_ROOT;
    if (name == "HKLM") return winreg::HKEY_LOCAL_MACHINE;
    return std::nullopt;
}

std::optional<Action> ActionNamed(std::string_view name)
{
    if (name == "keep") return Action::Keep;
    if (name == "key") return Action::Key;
    if (name == "replace") return Action::Replace;
    if (name == "value") return Action::Value;
    return std::nullopt;
}

std::string Lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

// Declared keys, by hive and path without regard to case.
class DeclaredKeys {
public:
    void add(winreg::HKEY hive, const std::string& path) { keys_.insert({hive, Lowered(path)}); }
    bool contains(winreg::HKEY hive, const std::string& path) const { return keys_.count({hive, Lowered(path)}) > 0; }
    bool parentKnown(winreg::HKEY hive, const std::string& path) const
    {
        const auto cut = path.rfind('\\');
        return cut == std::string::npos || contains(hive, path.substr(0, cut));
    }

private:
    std::set<std::pair<winreg::HKEY, std::string>> keys_;
};

// Parses one statement; an error text on failure.
std::string ParseStatement(const std::vector<Word>& words, DeclaredKeys& declared, RegistrarEntry* entry)
{
    const auto action = ActionNamed(words[0].text);
    if (words[0].quoted || !action) return "unknown statement '" + words[0].text + "'";
    entry->action = *action;
    if (words.size() < 2) return "a key path is missing";

    const std::string& fullPath = words[1].text;
    const auto cut = fullPath.find('\\');
    const auto hive = HiveNamed(fullPath.substr(0, cut));
    if (!hive) return "unknown hive in '" + fullPath + "'";
    if (cut == std::string::npos || cut + 1 == fullPath.size()) return "a key below the hive is missing";
    entry->hive = *hive;
    entry->path = fullPath.substr(cut + 1);
    if (entry->path.find("\\\\") != std::string::npos || entry->path.back() == '\\')
        return "empty key name in '" + fullPath + "'";

    std::size_t next = 2;
    if (entry->action == Action::Value) {
        if (!declared.contains(entry->hive, entry->path)) return "value of an undeclared key '" + fullPath + "'";
        if (words.size() != 5) return "a value needs a name, '=' and a text";
        entry->valueName = words[2].text;
        next = 3;
    } else {
        if (!declared.parentKnown(entry->hive, entry->path))
            return "the parent of '" + fullPath + "' is not declared";
        declared.add(entry->hive, entry->path);
    }

    if (words.size() == next) return "";
    if (entry->action == Action::Keep) return "a kept key takes no text";
    if (words.size() != next + 2 || words[next].quoted || words[next].text != "=" || !words[next + 1].quoted)
        return "expected = 'text'";
    entry->text = words[next + 1].text;
    return "";
}

// The key a hive of the script stands for in the local machine's hive.
std::vector<std::string> HiveRootPath(winreg::HKEY hive)
{
    if (hive == winreg::HKEY_CLASSES_ROOT) return {"SOFTWARE", "Classes"};
    return {};
}

// The entry's key path below its hive's root; nullopt (with status set) for a
// path the registry refuses.
std::optional<std::vector<std::string>> EntryNames(const RegistrarEntry& entry, winreg::Status* status)
{
    auto parsed = winreg::ParseKeyPath(entry.path);
    if (const winreg::Status* failure = std::get_if<winreg::Status>(&parsed)) {
        *status = *failure;
        return std::nullopt;
    }
    return std::get<std::vector<std::string>>(std::move(parsed));
}

// The key of that path and the key holding it; nulls when it is missing.
struct FoundKey {
    winreg::RegistryKey* parent = nullptr;
    winreg::RegistryKey* key = nullptr;
};

FoundKey FindEntryKey(winreg::Hive& hive, winreg::HKEY root, const std::vector<std::string>& names, std::uint64_t bootId)
{
    std::vector<std::string> path = HiveRootPath(root);
    path.insert(path.end(), names.begin(), names.end() - 1);
    FoundKey found;
    found.parent = winreg::FindKey(hive, path, bootId);
    if (found.parent) found.key = winreg::FindSubkey(*found.parent, names.back(), bootId);
    return found;
}

void SetString(winreg::RegistryKey& key, const std::string& name, const std::string& text)
{
    std::vector<std::uint8_t> data(text.begin(), text.end());
    data.push_back(0);
    if (winreg::RegistryValue* value = winreg::FindValue(key, name)) {
        value->type = winreg::REG_SZ;
        value->data = std::move(data);
    } else {
        key.values.push_back({name, winreg::REG_SZ, std::move(data)});
    }
}

bool DeleteValue(winreg::RegistryKey& key, std::string_view name)
{
    const winreg::RegistryValue* value = winreg::FindValue(key, name);
    if (!value) return false;
    key.values.erase(key.values.begin() + (value - key.values.data()));
    return true;
}

winreg::Status Apply(winreg::Hive& hive, std::uint64_t bootId, const RegistrarEntry& entry)
{
    winreg::Status status = winreg::ERROR_SUCCESS;
    const auto names = EntryNames(entry, &status);
    if (!names) return status;
    if (entry.action == Action::Replace) {
        const FoundKey old = FindEntryKey(hive, entry.hive, *names, bootId);
        if (old.key) winreg::RemoveSubkey(*old.parent, old.key->id);
    }
    std::vector<std::string> path = HiveRootPath(entry.hive);
    path.insert(path.end(), names->begin(), names->end());
    const auto made = winreg::CreateKeyPath(hive, hive.root, path, false, bootId);
    if (!made) return winreg::ERROR_CHILD_MUST_BE_VOLATILE;
    // A kept key's parents are the hive's root or keys the script declares,
    // so what was made here is the kept key itself.
    if (entry.action == Action::Keep && made->created) made->key->madeByRegistration = true;
    if (entry.text) SetString(*made->key, entry.action == Action::Value ? entry.valueName : "", *entry.text);
    return winreg::ERROR_SUCCESS;
}

// Removes what Apply wrote for the entry; true when something was removed.
bool Remove(winreg::Hive& hive, std::uint64_t bootId, const RegistrarEntry& entry)
{
    winreg::Status ignored = winreg::ERROR_SUCCESS;
    const auto names = EntryNames(entry, &ignored);
    const FoundKey found = names ? FindEntryKey(hive, entry.hive, *names, bootId) : FoundKey{};
    if (!found.key) return false;
    switch (entry.action) {
    case Action::Replace: return winreg::RemoveSubkey(*found.parent, found.key->id);
    case Action::Value: return DeleteValue(*found.key, entry.valueName);
    case Action::Keep:
        return found.key->madeByRegistration && winreg::IsEmptyKey(*found.key, bootId)
            && winreg::RemoveSubkey(*found.parent, found.key->id);
    case Action::Key: break;
    }
    const bool removedText = entry.text && DeleteValue(*found.key, "");
    return (winreg::IsEmptyKey(*found.key, bootId) && winreg::RemoveSubkey(*found.parent, found.key->id)) || removedText;
}

} // namespace

RegistrarScript ParseRegistrarScript(std::string_view script, std::string_view modulePath)
{
    RegistrarScript result;
    DeclaredKeys declared;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start <= script.size()) {
        const auto end = std::min(script.find('\n', start), script.size());
        const std::string_view line = script.substr(start, end - start);
        start = end + 1;
        ++lineNumber;

        auto words = SplitWords(line);
        if (!words) {
            result.error = "line " + std::to_string(lineNumber) + ": unterminated quote";
            return result;
        }
        if (words->empty() || (!(*words)[0].quoted && (*words)[0].text.front() == '#')) continue;
        for (auto& word : *words) ReplaceAll(word.text, "%MODULE%", modulePath);

        RegistrarEntry entry;
        if (auto error = ParseStatement(*words, declared, &entry); !error.empty()) {
            result.error = "line " + std::to_string(lineNumber) + ": " + error;
            return result;
        }
        result.entries.push_back(std::move(entry));
    }
    return result;
}

winreg::Status ApplyRegistration(const std::vector<RegistrarEntry>& entries)
{
    return winreg::ChangeLocalMachine([&](winreg::Hive& hive, std::uint64_t bootId, bool& changed) {
        for (const RegistrarEntry& entry : entries)
            if (const winreg::Status status = Apply(hive, bootId, entry)) return status;
        changed = true;
        return winreg::ERROR_SUCCESS;
    });
}

winreg::Status RemoveRegistration(const std::vector<RegistrarEntry>& entries)
{
    return winreg::ChangeLocalMachine([&](winreg::Hive& hive, std::uint64_t bootId, bool& changed) {
        for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
            changed = Remove(hive, bootId, *entry) || changed;
        return winreg::ERROR_SUCCESS;
    });
}

} // namespace com
