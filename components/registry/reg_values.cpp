#include "components/registry/reg_values.h"

#include "components/registry/registry_data.h"
#include "components/registry/vornik_module.h"

namespace vornik {

using com::Invocation;
using com::StringArg;
using com::LongArg;
using com::VariantArg;

namespace {

Bytes ReadLocation(const ValueLocation& location, std::uint32_t type)
{
    CheckNameLength(location.name, MaxKeyOrValueName);
    return ReadTypedValue(location.key->get(), location.name, type);
}

void WriteLocation(const ValueLocation& location, std::uint32_t type, const Bytes& data)
{
    WriteValue(location.key->get(), location.name, type, data);
}

} // namespace

// RegStringValue

com::ComPtr<RegStringValue> RegStringValue::Read(ValueLocation location)
{
    auto data = TextOfBytes(ReadLocation(location, winreg::REG_SZ));
    return com::MakeObject<RegStringValue>(std::move(location), std::move(data));
}

RegStringValue::RegStringValue(ValueLocation location, std::string data)
    : DispatchObject(TheModule()), location_(std::move(location)), data_(std::move(data))
{
}

// A new text is written without a terminating zero: its length in bytes.
void RegStringValue::putValueData(const std::string& data)
{
    WriteLocation(location_, winreg::REG_SZ, BytesOfText(data, false));
    data_ = data;
}

const com::DispatchTable<RegStringValue>& RegStringValue::Members()
{
    static const auto table = com::DispatchTable<RegStringValue>()
        .get(1, "Name", {}, [](RegStringValue& self, Invocation& call) { call.setResult(self.location_.name); })
        .get(2, "ValueData", {}, [](RegStringValue& self, Invocation& call) { call.setResult(self.data_); })
        .put(2, "ValueData", StringArg,
             [](RegStringValue& self, Invocation& call) { self.putValueData(call.string(0)); });
    return table;
}

// RegNumValue

com::ComPtr<RegNumValue> RegNumValue::Read(ValueLocation location)
{
    const auto data = NumberOfBytes(ReadLocation(location, winreg::REG_DWORD));
    return com::MakeObject<RegNumValue>(std::move(location), data);
}

RegNumValue::RegNumValue(ValueLocation location, std::int32_t data)
    : DispatchObject(TheModule()), location_(std::move(location)), data_(data)
{
}

void RegNumValue::putValueData(std::int32_t data)
{
    WriteLocation(location_, winreg::REG_DWORD, DwordBytes(data));
    data_ = data;
}

const com::DispatchTable<RegNumValue>& RegNumValue::Members()
{
    static const auto table = com::DispatchTable<RegNumValue>()
        .get(1, "ValueData", {}, [](RegNumValue& self, Invocation& call) { call.setResult(self.data_); })
        .put(1, "ValueData", LongArg, [](RegNumValue& self, Invocation& call) { self.putValueData(call.number(0)); })
        .get(2, "Name", {}, [](RegNumValue& self, Invocation& call) { call.setResult(self.location_.name); });
    return table;
}

// RegBinaryValue

com::ComPtr<RegBinaryValue> RegBinaryValue::Read(ValueLocation location)
{
    auto data = ReadLocation(location, winreg::REG_BINARY);
    return com::MakeObject<RegBinaryValue>(std::move(location), std::move(data));
}

RegBinaryValue::RegBinaryValue(ValueLocation location, Bytes data)
    : DispatchObject(TheModule()), location_(std::move(location)), data_(std::move(data))
{
}

void RegBinaryValue::putValueData(const com::Variant& data)
{
    auto bytes = BytesOfArray(data);
    if (!bytes) throw com::ComError(InvalidArray, InvalidArrayText);
    WriteLocation(location_, winreg::REG_BINARY, *bytes);
    data_ = std::move(*bytes);
}

const com::DispatchTable<RegBinaryValue>& RegBinaryValue::Members()
{
    static const auto table = com::DispatchTable<RegBinaryValue>()
        .get(1, "Name", {}, [](RegBinaryValue& self, Invocation& call) { call.setResult(self.location_.name); })
        .get(2, "ValueData", {},
             [](RegBinaryValue& self, Invocation& call) { call.setResult(ByteArrayOf(self.data_)); })
        .put(2, "ValueData", VariantArg,
             [](RegBinaryValue& self, Invocation& call) { self.putValueData(call.value(0)); });
    return table;
}

// RegMultzValue

com::ComPtr<RegMultzValue> RegMultzValue::Read(ValueLocation location)
{
    auto data = StringsOfMultiString(ReadLocation(location, winreg::REG_MULTI_SZ));
    return com::MakeObject<RegMultzValue>(std::move(location), std::move(data));
}

RegMultzValue::RegMultzValue(ValueLocation location, std::vector<std::string> data)
    : DispatchObject(TheModule()), location_(std::move(location)), data_(std::move(data))
{
}

// The data cannot be replaced through this object: every new value is
// refused, and reported as the binary value's error.
const com::DispatchTable<RegMultzValue>& RegMultzValue::Members()
{
    static const auto table = com::DispatchTable<RegMultzValue>()
        .get(1, "Name", {}, [](RegMultzValue& self, Invocation& call) { call.setResult(self.location_.name); })
        .get(2, "ValueData", {},
             [](RegMultzValue& self, Invocation& call) { call.setResult(com::Variant::StringArray(self.data_)); })
        .put(2, "ValueData", VariantArg, [](RegMultzValue&, Invocation&) {
            throw com::IdentifiedError(InvalidArray, InvalidArrayText, RegBinaryValueIdentity);
        });
    return table;
}

} // namespace vornik
