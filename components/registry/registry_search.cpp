#include "components/registry/registry_search.h"

#include "components/registry/identities.h"
#include "components/registry/registry_data.h"
#include "platform/com/registry_handle.h"

#include <vector>

namespace vornik {

namespace {

// Names and data of this many bytes or more are never matched.
constexpr std::size_t MatchLimit = 1024;

bool Matches(std::string_view candidate, const std::string& text)
{
    return !candidate.empty() && candidate.size() < MatchLimit && ContainsIgnoringCase(candidate, text);
}

std::string JoinPath(const std::string& path, const std::string& name)
{
    return path.empty() ? name : path + "\\" + name;
}

// One search through one hive, keeping the path of the key it is in.
class HiveWalk {
public:
    HiveWalk(const std::string& text, std::int32_t searchType) : text_(text), type_(searchType) {}

    std::optional<SearchHit> run(winreg::HKEY root)
    {
        visit(root, "");
        return std::move(hit_);
    }

private:
    bool wants(RegSearchType flag) const { return (type_ & flag) != 0; }

    // True once a hit is found, which ends the walk.
    bool visit(winreg::HKEY key, const std::string& path)
    {
        if ((wants(SearchValue) || wants(SearchData)) && visitValues(key, path)) return true;

        std::string name;
        for (std::uint32_t index = 0;; ++index) {
            const auto status = winreg::EnumKey(key, index, &name, com::KeyNameCapacity);
            if (status == winreg::ERROR_MORE_DATA) continue;
            if (status != winreg::ERROR_SUCCESS) return false;

            com::RegistryHandle subKey;
            if (winreg::OpenKey(key, name, winreg::KEY_READ, subKey.receive()) != winreg::ERROR_SUCCESS) continue;
            const std::string subPath = JoinPath(path, name);
            if (wants(SearchKey) && ContainsIgnoringCase(name, text_)) {
                hit_ = SearchHit{{}, subPath, {}, {}, {}};
                return true;
            }
            if (visit(subKey.get(), subPath)) return true;
        }
    }

    bool visitValues(winreg::HKEY key, const std::string& path)
    {
        std::string name;
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
        for (std::uint32_t index = 0;; ++index) {
            const auto status = winreg::EnumValue(key, index, &name, &type, &data);
            if (status == winreg::ERROR_MORE_DATA) continue;
            if (status != winreg::ERROR_SUCCESS) return false;

            if (wants(SearchValue) && Matches(name, text_)) {
                hit_ = SearchHit{{}, path, {}, name, {}};
                return true;
            }
            const std::string_view bytes(reinterpret_cast<const char*>(data.data()), data.size());
            if (wants(SearchData) && Matches(bytes, text_)) {
                hit_ = SearchHit{{}, path, {}, name, TextOfBytes(data)};
                return true;
            }
        }
    }

    const std::string& text_;
    std::int32_t type_;
    std::optional<SearchHit> hit_;
};

struct HiveToSearch {
    winreg::HKEY hive;
    const char* name;
};

constexpr HiveToSearch SearchedHives[] = {
    {winreg::HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},
    {winreg::HKEY_USERS, "HKEY_USERS"},
};

} // namespace

std::optional<SearchHit> SearchRegistry(const std::string& computer, const std::string& text, std::int32_t searchType)
{
    if (CharacterCount(text) > MaxSearchText)
        throw com::ComError(SearchStringTooLong, SearchStringTooLongText);
    if (text.empty()) return std::nullopt;

    // Both hives are connected before the walk: a machine whose hives cannot
    // both be reached is not searched at all.
    std::vector<com::RegistryHandle> roots;
    for (const auto& hive : SearchedHives) {
        com::RegistryHandle root;
        if (winreg::ConnectRegistry(computer, hive.hive, root.receive()) != winreg::ERROR_SUCCESS) return std::nullopt;
        roots.push_back(std::move(root));
    }

    for (std::size_t i = 0; i < roots.size(); ++i) {
        auto hit = HiveWalk(text, searchType).run(roots[i].get());
        if (!hit) continue;
        hit->hive = SearchedHives[i].hive;
        hit->fullKeyPath = std::string(SearchedHives[i].name) + "\\" + hit->keyPath;
        return hit;
    }
    return std::nullopt;
}

} // namespace vornik
