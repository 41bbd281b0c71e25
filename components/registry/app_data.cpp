#include "components/registry/app_data.h"

#include "components/registry/registry_data.h"

namespace vornik {

namespace {

enum class Access { Read, Write };

void CheckNames(const ApplicationIdentity& app)
{
    if (app.company.empty() || app.application.empty()) throw com::ComError(AppNamesEmpty, AppNamesEmptyText);
}

// Opens the application key, creating it for a write. The hive connection is
// closed again at once; the key stays open until the handle goes.
com::RegistryHandle OpenApplicationKey(const ApplicationIdentity& app, Access access)
{
    CheckNames(app);
    const SharedKey hive = ConnectHive(app.computer, winreg::HKEY_LOCAL_MACHINE);
    com::RegistryHandle key;
    if (access == Access::Write)
        Check(winreg::CreateKey(hive->get(), ApplicationKeyPath(app), false, key.receive()));
    else
        Check(winreg::OpenKey(hive->get(), ApplicationKeyPath(app), KeyOpenAccess, key.receive()));
    return key;
}

Bytes ReadAppValue(const ApplicationIdentity& app, const std::string& name, std::uint32_t type)
{
    const auto key = OpenApplicationKey(app, Access::Read);
    return ReadTypedValue(key.get(), name, type);
}

void WriteAppValue(const ApplicationIdentity& app, const std::string& name, std::uint32_t type, const Bytes& data)
{
    const auto key = OpenApplicationKey(app, Access::Write);
    WriteValue(key.get(), name, type, data);
}

Bytes MultiStringOfClientArray(const com::Variant& data)
{
    std::optional<Bytes> bytes;
    if (auto strings = StringsOfArray(data, true)) bytes = MultiStringBytes(*strings);
    if (!bytes) throw com::ComError(ArrayOperationFailed, ArrayOperationFailedText);
    return *bytes;
}

} // namespace

std::string ApplicationKeyPath(const ApplicationIdentity& app)
{
    return "Software\\" + app.company + "\\" + app.application;
}

std::string GetAppStringData(const ApplicationIdentity& app, const std::string& name)
{
    return TextOfBytes(ReadAppValue(app, name, winreg::REG_SZ));
}

void SetAppStringData(const ApplicationIdentity& app, const std::string& name, const std::string& data)
{
    WriteAppValue(app, name, winreg::REG_SZ, BytesOfText(data, false));
}

std::int32_t GetAppNumData(const ApplicationIdentity& app, const std::string& name)
{
    return NumberOfBytes(ReadAppValue(app, name, winreg::REG_DWORD));
}

void SetAppNumData(const ApplicationIdentity& app, const std::string& name, std::int32_t data)
{
    WriteAppValue(app, name, winreg::REG_DWORD, DwordBytes(data));
}

com::Variant GetAppBinaryData(const ApplicationIdentity& app, const std::string& name)
{
    return ByteArrayOf(ReadAppValue(app, name, winreg::REG_BINARY));
}

void SetAppBinaryData(const ApplicationIdentity& app, const std::string& name, const com::Variant& data)
{
    CheckNames(app);
    const auto bytes = BytesOfArray(data);
    if (!bytes) throw com::ComError(ArrayOperationFailed, ArrayOperationFailedText);
    WriteAppValue(app, name, winreg::REG_BINARY, *bytes);
}

void SetAppMultiStringData(const ApplicationIdentity& app, const std::string& name, const com::Variant& data)
{
    CheckNames(app);
    WriteAppValue(app, name, winreg::REG_MULTI_SZ, MultiStringOfClientArray(data));
}

void SetAppMultipleStringData(const ApplicationIdentity& app, const std::string& name, const com::Variant& data)
{
    SetAppMultiStringData(app, name, data);
}

com::Variant GetAppMultiStringData(const ApplicationIdentity& app, const std::string& name)
{
    return com::Variant::StringArray(StringsOfMultiString(ReadAppValue(app, name, winreg::REG_MULTI_SZ)));
}

com::ComPtr<RegKey> CreateAppKey(const ApplicationIdentity& app)
{
    OpenApplicationKey(app, Access::Write);
    return RegKey::Open(ConnectHive(app.computer, winreg::HKEY_LOCAL_MACHINE), ApplicationKeyPath(app));
}

void DeleteAppKey(const ApplicationIdentity& app)
{
    CheckNames(app);
    const SharedKey hive = ConnectHive(app.computer, winreg::HKEY_LOCAL_MACHINE);
    Check(winreg::DeleteKey(hive->get(), ApplicationKeyPath(app)));
    // The company key stays while other applications of the company remain.
    winreg::DeleteKey(hive->get(), "Software\\" + app.company);
}

} // namespace vornik
