#include "components/registry/registry_class.h"

#include "components/registry/app_paths.h"
#include "components/registry/registry_search.h"
#include "components/registry/vornik_module.h"

namespace vornik {

using com::Invocation;
using com::LongArg;
using com::Optional;
using com::OutArg;
using com::StringArg;
using com::VariantArg;

namespace {

// A machine name as the network knows it: up to 15 characters, after any
// leading backslashes.
constexpr std::size_t MaxComputerName = 15;
constexpr std::size_t MaxApplicationName = 254;

std::string_view WithoutLeadingBackslashes(std::string_view name)
{
    while (!name.empty() && name.front() == '\\') name.remove_prefix(1);
    return name;
}

com::Variant ObjectResult(const com::ComPtr<RegKey>& key) { return com::DispatchVariant(key); }

} // namespace

Registry::Registry() : DispatchObject(TheModule()) {}

com::ComPtr<RegKey> Registry::hiveKey(winreg::HKEY hive, const std::string& keyName) const
{
    CheckNameLength(keyName, MaxKeyOrValueName);
    return RegKey::Open(ConnectHive(identity_.computer, hive), keyName);
}

void Registry::putComputerName(const std::string& name)
{
    CheckNameLength(WithoutLeadingBackslashes(name), MaxComputerName);
    identity_.computer = name;
}

void Registry::putCompanyName(const std::string& name)
{
    CheckNameLength(name, MaxApplicationName);
    identity_.company = name;
}

void Registry::putAppName(const std::string& name)
{
    CheckNameLength(name, MaxApplicationName);
    identity_.application = name;
}

// Fills the out arguments 2 to 4 (full key path, value name, data) and gives
// the key of the hit; nothing found fails with 0x80040207.
com::Variant Registry::searchRegistry(const std::string& text, std::int32_t searchType, Invocation& call) const
{
    const auto hit = SearchRegistry(identity_.computer, text, searchType);
    if (!hit) throw com::ComError(SearchDataNotFound, SearchDataNotFoundText);
    auto key = RegKey::Open(ConnectHive(identity_.computer, hit->hive), hit->keyPath);
    call.setOut(2, hit->fullKeyPath);
    call.setOut(3, hit->valueName);
    call.setOut(4, hit->data);
    return ObjectResult(key);
}

const com::DispatchTable<Registry>& Registry::Members()
{
    const auto hiveProperty = [](winreg::HKEY hive) {
        return [hive](Registry& self, Invocation& call) { call.setResult(ObjectResult(self.hiveKey(hive, call.string(0)))); };
    };
    static const auto table = com::DispatchTable<Registry>()
        .get(1, "HKeyLocalMachine", {StringArg}, hiveProperty(winreg::HKEY_LOCAL_MACHINE))
        .get(2, "HKeyClassesRoot", {Optional(StringArg)}, hiveProperty(winreg::HKEY_CLASSES_ROOT))
        .get(3, "HKeyUsers", {Optional(StringArg)}, hiveProperty(winreg::HKEY_USERS))
        .get(4, "HKeyCurrentUser", {Optional(StringArg)}, hiveProperty(winreg::HKEY_CURRENT_USER))
        .get(5, "HKeyCurrentConfig", {Optional(StringArg)}, hiveProperty(winreg::HKEY_CURRENT_CONFIG))
        .get(6, "ComputerName", {}, [](Registry& self, Invocation& call) { call.setResult(self.identity_.computer); })
        .put(6, "ComputerName", StringArg,
             [](Registry& self, Invocation& call) { self.putComputerName(call.string(0)); })
        .method(7, "GetAppStringData", {StringArg},
                [](Registry& self, Invocation& call) {
                    call.setResult(GetAppStringData(self.identity_, call.string(0)));
                })
        .method(8, "SetAppStringData", {StringArg, StringArg},
                [](Registry& self, Invocation& call) {
                    SetAppStringData(self.identity_, call.string(0), call.string(1));
                })
        .method(9, "GetAppNumData", {StringArg},
                [](Registry& self, Invocation& call) { call.setResult(GetAppNumData(self.identity_, call.string(0))); })
        .method(10, "SetAppNumData", {StringArg, LongArg},
                [](Registry& self, Invocation& call) {
                    SetAppNumData(self.identity_, call.string(0), call.number(1));
                })
        .method(11, "GetAppBinaryData", {StringArg, OutArg},
                [](Registry& self, Invocation& call) {
                    call.setOut(1, GetAppBinaryData(self.identity_, call.string(0)));
                })
        .method(12, "SetAppBinaryData", {StringArg, VariantArg},
                [](Registry& self, Invocation& call) {
                    SetAppBinaryData(self.identity_, call.string(0), call.value(1));
                })
        .get(13, "CompanyName", {}, [](Registry& self, Invocation& call) { call.setResult(self.identity_.company); })
        .put(13, "CompanyName", StringArg,
             [](Registry& self, Invocation& call) { self.putCompanyName(call.string(0)); })
        .get(14, "AppName", {},
             [](Registry& self, Invocation& call) { call.setResult(self.identity_.application); })
        .put(14, "AppName", StringArg, [](Registry& self, Invocation& call) { self.putAppName(call.string(0)); })
        .method(15, "GetAppPath", {StringArg},
                [](Registry& self, Invocation& call) {
                    call.setResult(GetAppPath(self.identity_.computer, call.string(0)));
                })
        .method(16, "CreateAppKey", {},
                [](Registry& self, Invocation& call) { call.setResult(ObjectResult(CreateAppKey(self.identity_))); })
        .method(17, "DeleteAppKey", {}, [](Registry& self, Invocation&) { DeleteAppKey(self.identity_); })
        .method(18, "SetAppPath", {StringArg, StringArg},
                [](Registry& self, Invocation& call) {
                    SetAppPath(self.identity_.computer, call.string(0), call.string(1));
                })
        .method(19, "SearchRegistry", {StringArg, LongArg, OutArg, OutArg, OutArg},
                [](Registry& self, Invocation& call) {
                    call.setResult(self.searchRegistry(call.string(0), call.number(1), call));
                })
        .method(20, "SetAppMultiStringData", {StringArg, VariantArg},
                [](Registry& self, Invocation& call) {
                    SetAppMultiStringData(self.identity_, call.string(0), call.value(1));
                })
        .method(21, "GetAppMultiStringData", {StringArg, OutArg},
                [](Registry& self, Invocation& call) {
                    call.setOut(1, GetAppMultiStringData(self.identity_, call.string(0)));
                })
        .method(22, "SetAppMultipleStringData", {StringArg, VariantArg},
                [](Registry& self, Invocation& call) {
                    SetAppMultipleStringData(self.identity_, call.string(0), call.value(1));
                });
    return table;
}

} // namespace vornik
