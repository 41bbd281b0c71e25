#include "platform/com/registrar.h"

#include "platform/com/registry_handle.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <utility>

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

bool IsEmptyKey(winreg::HKEY key)
{
    std::string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    return winreg::EnumKey(key, 0, &name, KeyNameCapacity) == winreg::ERROR_NO_MORE_ITEMS &&
           winreg::EnumValue(key, 0, &name, &type, &data) == winreg::ERROR_NO_MORE_ITEMS;
}

// The local host's hives, each connected once per registration.
class LocalHives {
public:
    winreg::Status root(winreg::HKEY hive, winreg::HKEY* key)
    {
        auto& handle = roots_[hive];
        if (!handle)
            if (const auto status = winreg::ConnectRegistry("", hive, handle.receive())) return status;
        *key = handle.get();
        return winreg::ERROR_SUCCESS;
    }

private:
    std::map<winreg::HKEY, RegistryHandle> roots_;
};

winreg::Status Apply(LocalHives& hives, const RegistrarEntry& entry)
{
    winreg::HKEY root = 0;
    if (const auto status = hives.root(entry.hive, &root)) return status;
    if (entry.action == Action::Replace)
        if (const auto status = DeleteRegistryTree(root, entry.path); status && status != winreg::ERROR_FILE_NOT_FOUND)
            return status;

    RegistryHandle key;
    if (const auto status = winreg::CreateKey(root, entry.path, false, key.receive())) return status;
    if (!entry.text) return winreg::ERROR_SUCCESS;
    return WriteRegistryString(key.get(), entry.action == Action::Value ? entry.valueName : "", *entry.text);
}

winreg::Status Remove(LocalHives& hives, const RegistrarEntry& entry)
{
    winreg::HKEY root = 0;
    if (const auto status = hives.root(entry.hive, &root)) return status;
    switch (entry.action) {
    case Action::Keep: return winreg::ERROR_SUCCESS;
    case Action::Replace: return DeleteRegistryTree(root, entry.path);
    case Action::Value: {
        RegistryHandle key;
        if (const auto status = winreg::OpenKey(root, entry.path, winreg::KEY_ALL_ACCESS, key.receive())) return status;
        return winreg::DeleteValue(key.get(), entry.valueName);
    }
    case Action::Key: break;
    }

    bool empty = false;
    {
        RegistryHandle key;
        if (const auto status = winreg::OpenKey(root, entry.path, winreg::KEY_ALL_ACCESS, key.receive())) return status;
        if (entry.text)
            if (const auto status = winreg::DeleteValue(key.get(), ""); status && status != winreg::ERROR_FILE_NOT_FOUND)
                return status;
        empty = IsEmptyKey(key.get());
    }
    return empty ? winreg::DeleteKey(root, entry.path) : winreg::ERROR_SUCCESS;
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
    LocalHives hives;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (const auto status = Apply(hives, entries[i])) {
            RemoveRegistration({entries.begin(), entries.begin() + std::ptrdiff_t(i) + 1});
            return status;
        }
    }
    return winreg::ERROR_SUCCESS;
}

winreg::Status RemoveRegistration(const std::vector<RegistrarEntry>& entries)
{
    LocalHives hives;
    winreg::Status first = winreg::ERROR_SUCCESS;
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        const auto status = Remove(hives, *entry);
        if (status && status != winreg::ERROR_FILE_NOT_FOUND && !first) first = status;
    }
    return first;
}

} // namespace com
