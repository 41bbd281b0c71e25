#pragma once
// The value objects a key hands out: one value read from a key, with its
// name. Each keeps the key open for as long as it lives, so that writing a new
// value always goes to the key it was read from.

#include "components/registry/identities.h"
#include "components/registry/registry_data.h"
#include "components/registry/registry_io.h"
#include "platform/com/dispatch_object.h"

namespace vornik {

// Where a value lives: the key that holds it and its name.
struct ValueLocation {
    SharedKey key;
    std::string name;
};

class RegStringValue : public com::DispatchObject<RegStringValue> {
public:
    // Reads a REG_SZ value; throws the registry error when it cannot.
    static com::ComPtr<RegStringValue> Read(ValueLocation location);
    RegStringValue(ValueLocation location, std::string data);

    static const com::DispatchTable<RegStringValue>& Members();
    static const com::ClassIdentity& Identity() { return RegStringValueIdentity; }

private:
    void putValueData(const std::string& data);

    ValueLocation location_;
    std::string data_;
};

class RegNumValue : public com::DispatchObject<RegNumValue> {
public:
    static com::ComPtr<RegNumValue> Read(ValueLocation location);
    RegNumValue(ValueLocation location, std::int32_t data);

    static const com::DispatchTable<RegNumValue>& Members();
    static const com::ClassIdentity& Identity() { return RegNumValueIdentity; }

private:
    void putValueData(std::int32_t data);

    ValueLocation location_;
    std::int32_t data_;
};

class RegBinaryValue : public com::DispatchObject<RegBinaryValue> {
public:
    static com::ComPtr<RegBinaryValue> Read(ValueLocation location);
    RegBinaryValue(ValueLocation location, Bytes data);

    static const com::DispatchTable<RegBinaryValue>& Members();
    static const com::ClassIdentity& Identity() { return RegBinaryValueIdentity; }

private:
    void putValueData(const com::Variant& data);

    ValueLocation location_;
    Bytes data_;
};

// A REG_MULTI_SZ value; its data is handed out as an array of strings.
class RegMultzValue : public com::DispatchObject<RegMultzValue> {
public:
    static com::ComPtr<RegMultzValue> Read(ValueLocation location);
    RegMultzValue(ValueLocation location, std::vector<std::string> data);

    static const com::DispatchTable<RegMultzValue>& Members();
    static const com::ClassIdentity& Identity() { return RegMultzValueIdentity; }

private:
    ValueLocation location_;
    std::vector<std::string> data_;
};

} // namespace vornik
