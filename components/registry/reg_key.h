#pragma once
// The key object: one open registry key, with the values and subkeys below it.

#include "components/registry/identities.h"
#include "components/registry/registry_io.h"
#include "platform/com/dispatch_object.h"

namespace vornik {

class RegKey : public com::DispatchObject<RegKey> {
public:
    // Opens name below parent (empty: parent itself again); throws the
    // registry error when it cannot. The key keeps parent open.
    static com::ComPtr<RegKey> Open(SharedKey parent, const std::string& name);
    RegKey(SharedKey parent, SharedKey key, std::string name);

    static const com::DispatchTable<RegKey>& Members();
    static const com::ClassIdentity& Identity() { return RegKeyIdentity; }

private:
    com::ComPtr<RegKey> addKey(const std::string& name, bool isVolatile);
    void deleteKey(const std::string& name);
    void deleteValue(const std::string& name);
    void addStringValue(const std::string& name, const std::string& data);
    void addNumValue(const std::string& name, std::int32_t data);
    void addBinaryValue(const std::string& name, const com::Variant& data);
    void addMultzValue(const std::string& name, const com::Variant& data);
    std::vector<std::string> enumSubKeys() const;

    SharedKey parent_;
    SharedKey key_;
    std::string name_;
};

} // namespace vornik
