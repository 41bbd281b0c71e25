#include "components/registry/registry_io.h"

#include "components/registry/identities.h"
#include "components/registry/registry_data.h"

namespace vornik {

std::string SystemErrorText(winreg::Status code)
{
    auto text = winreg::SystemMessage(code);
    return text.empty() ? "Unknown Error " + std::to_string(code) : text;
}

void FailWith(winreg::Status code) { throw com::ComError(RegistryCallFailed, SystemErrorText(code)); }

void Check(winreg::Status code)
{
    if (code != winreg::ERROR_SUCCESS) FailWith(code);
}

void CheckNameLength(std::string_view name, std::size_t maxCharacters)
{
    if (CharacterCount(name) > maxCharacters) FailWith(winreg::ERROR_INVALID_PARAMETER);
}

SharedKey ConnectHive(const std::string& computer, winreg::HKEY hive)
{
    com::RegistryHandle handle;
    Check(winreg::ConnectRegistry(computer, hive, handle.receive()));
    return std::make_shared<const com::RegistryHandle>(std::move(handle));
}

SharedKey OpenSubKey(const SharedKey& parent, std::string_view subKey)
{
    com::RegistryHandle handle;
    Check(winreg::OpenKey(parent->get(), subKey, KeyOpenAccess, handle.receive()));
    return std::make_shared<const com::RegistryHandle>(std::move(handle));
}

std::vector<std::uint8_t> ReadTypedValue(winreg::HKEY key, std::string_view name, std::uint32_t type)
{
    std::uint32_t storedType = 0;
    std::uint32_t size = 0;
    Check(winreg::QueryValue(key, name, &storedType, nullptr, &size));
    if (storedType != type) FailWith(winreg::ERROR_INVALID_PARAMETER);
    std::vector<std::uint8_t> data(size, 0);
    Check(winreg::QueryValue(key, name, &storedType, data.data(), &size));
    // The value may have shrunk between the two queries: keep what was read.
    if (size < data.size()) data.resize(size);
    return data;
}

void WriteValue(winreg::HKEY key, std::string_view name, std::uint32_t type, const std::vector<std::uint8_t>& data)
{
    Check(winreg::SetValue(key, name, type, data.data(), std::uint32_t(data.size())));
}

} // namespace vornik
