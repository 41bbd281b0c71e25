#pragma once
// The small settings format of the simulated network's files (network.ini,
// host.ini): "[section]" lines, "key = value" lines, and comment lines that
// begin with ';' or '#'. Keys match without regard to ASCII case; sections and
// keys keep their order, so rewriting a file keeps entries this program does
// not know. Lists are comma-separated values.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace net {

class IniDocument {
public:
    static IniDocument Parse(std::string_view text);
    std::string toText() const;

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    std::string valueOr(std::string_view section, std::string_view key, std::string_view fallback) const;
    // Throws ComError(E_INVALIDARG) for a value with a line break, which the
    // format cannot hold.
    void setValue(std::string_view section, std::string_view key, std::string_view value);

    // The named sections, in file order.
    std::vector<std::string> sectionNames() const;
    void removeSection(std::string_view section);

private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };

    Section* findSection(std::string_view name);
    const Section* findSection(std::string_view name) const;

    std::vector<Section> sections_;
};

// "a, b,,c " -> {"a", "b", "c"}
std::vector<std::string> SplitList(std::string_view text);
std::string JoinList(const std::vector<std::string>& items);
// "yes"/"true"/"1" and "no"/"false"/"0" in any case; fallback otherwise.
bool ParseFlag(std::string_view text, bool fallback);

} // namespace net
