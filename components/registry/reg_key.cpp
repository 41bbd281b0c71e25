#include "components/registry/reg_key.h"

#include "components/registry/reg_values.h"
#include "components/registry/registry_data.h"
#include "components/registry/vornik_module.h"

namespace vornik {

using com::Invocation;
using com::BoolArg;
using com::LongArg;
using com::OutArg;
using com::StringArg;
using com::VariantArg;

com::ComPtr<RegKey> RegKey::Open(SharedKey parent, const std::string& name)
{
    auto key = OpenSubKey(parent, name);
    return com::MakeObject<RegKey>(std::move(parent), std::move(key), name);
}

RegKey::RegKey(SharedKey parent, SharedKey key, std::string name)
    : DispatchObject(TheModule()), parent_(std::move(parent)), key_(std::move(key)), name_(std::move(name))
{
}

// An existing subkey is opened, not replaced.
com::ComPtr<RegKey> RegKey::addKey(const std::string& name, bool isVolatile)
{
    CheckNameLength(name, MaxKeyOrValueName);
    {
        com::RegistryHandle created;
        Check(winreg::CreateKey(key_->get(), name, isVolatile, created.receive()));
    }
    return Open(key_, name);
}

void RegKey::deleteKey(const std::string& name)
{
    CheckNameLength(name, MaxKeyOrValueName);
    Check(winreg::DeleteKey(key_->get(), name));
}

void RegKey::deleteValue(const std::string& name)
{
    CheckNameLength(name, MaxKeyOrValueName);
    Check(winreg::DeleteValue(key_->get(), name));
}

// The text is stored with its terminating zero.
void RegKey::addStringValue(const std::string& name, const std::string& data)
{
    CheckNameLength(name, MaxKeyOrValueName);
    WriteValue(key_->get(), name, winreg::REG_SZ, BytesOfText(data, true));
}

void RegKey::addNumValue(const std::string& name, std::int32_t data)
{
    CheckNameLength(name, MaxKeyOrValueName);
    WriteValue(key_->get(), name, winreg::REG_DWORD, DwordBytes(data));
}

// An array that cannot be converted fails with the registry error number and
// no text.
void RegKey::addBinaryValue(const std::string& name, const com::Variant& data)
{
    CheckNameLength(name, MaxKeyOrValueName);
    const auto bytes = BytesOfArray(data);
    if (!bytes) throw com::ComError(RegistryCallFailed, "");
    WriteValue(key_->get(), name, winreg::REG_BINARY, *bytes);
}

// Only an array of strings is taken; an empty string cannot be stored in
// the list without ending it, so it is refused as well.
void RegKey::addMultzValue(const std::string& name, const com::Variant& data)
{
    CheckNameLength(name, MaxKeyOrValueName);
    std::optional<Bytes> bytes;
    if (data.deref().type() == (com::VT_ARRAY | com::VT_BSTR))
        if (auto strings = StringsOfArray(data, false)) bytes = MultiStringBytes(*strings);
    if (!bytes) throw com::ComError(InvalidArray, InvalidArrayText);
    WriteValue(key_->get(), name, winreg::REG_MULTI_SZ, *bytes);
}

// The names of the subkeys in enumeration order. A key without subkeys
// fails with the text of the no-more-items code.
std::vector<std::string> RegKey::enumSubKeys() const
{
    std::vector<std::string> names;
    std::string name;
    winreg::Status status = winreg::ERROR_SUCCESS;
    for (std::uint32_t index = 0; (status = winreg::EnumKey(key_->get(), index, &name, com::KeyNameCapacity)) == winreg::ERROR_SUCCESS;
         ++index)
        names.push_back(name);
    if (names.empty()) FailWith(status);
    return names;
}

const com::DispatchTable<RegKey>& RegKey::Members()
{
    const auto location = [](RegKey& self, const std::string& name) { return ValueLocation{self.key_, name}; };
    static const auto table = com::DispatchTable<RegKey>()
        .get(1, "Name", {}, [](RegKey& self, Invocation& call) { call.setResult(self.name_); })
        .get(2, "StringValue", {StringArg},
             [=](RegKey& self, Invocation& call) {
                 call.setResult(com::DispatchVariant(RegStringValue::Read(location(self, call.string(0)))));
             })
        .get(3, "NumValue", {StringArg},
             [=](RegKey& self, Invocation& call) {
                 call.setResult(com::DispatchVariant(RegNumValue::Read(location(self, call.string(0)))));
             })
        .get(4, "BinaryValue", {StringArg},
             [=](RegKey& self, Invocation& call) {
                 call.setResult(com::DispatchVariant(RegBinaryValue::Read(location(self, call.string(0)))));
             })
        .method(5, "AddKey", {StringArg, com::Optional(BoolArg)},
                [](RegKey& self, Invocation& call) {
                    call.setResult(com::DispatchVariant(self.addKey(call.string(0), call.flag(1))));
                })
        .method(6, "DeleteKey", {StringArg},
                [](RegKey& self, Invocation& call) { self.deleteKey(call.string(0)); })
        .method(7, "AddStringValue", {StringArg, StringArg},
                [=](RegKey& self, Invocation& call) {
                    self.addStringValue(call.string(0), call.string(1));
                    call.setResult(com::DispatchVariant(RegStringValue::Read(location(self, call.string(0)))));
                })
        .method(8, "AddNumValue", {StringArg, LongArg},
                [=](RegKey& self, Invocation& call) {
                    self.addNumValue(call.string(0), call.number(1));
                    call.setResult(com::DispatchVariant(RegNumValue::Read(location(self, call.string(0)))));
                })
        .method(9, "DeleteValue", {StringArg},
                [](RegKey& self, Invocation& call) { self.deleteValue(call.string(0)); })
        .method(10, "AddBinaryValue", {StringArg, VariantArg},
                [=](RegKey& self, Invocation& call) {
                    self.addBinaryValue(call.string(0), call.value(1));
                    call.setResult(com::DispatchVariant(RegBinaryValue::Read(location(self, call.string(0)))));
                })
        .get(11, "hKey", {},
             [](RegKey& self, Invocation& call) { call.setResult(std::int32_t(self.key_->get())); })
        .method(12, "AddMultzValue", {StringArg, VariantArg},
                [=](RegKey& self, Invocation& call) {
                    self.addMultzValue(call.string(0), call.value(1));
                    call.setResult(com::DispatchVariant(RegMultzValue::Read(location(self, call.string(0)))));
                })
        .method(13, "EnumSubKeys", {StringArg, OutArg},
                [](RegKey& self, Invocation& call) {
                    const auto names = self.enumSubKeys();
                    call.setOut(1, std::int32_t(names.size()));
                    call.setResult(VariantArrayOf(names));
                });
    return table;
}

} // namespace vornik
