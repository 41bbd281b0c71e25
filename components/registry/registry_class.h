#pragma once
// The component's creatable class: the registry of the local or another
// machine of the network, its five hives, the data of one application, App
// Paths entries and the registry search.

#include "components/registry/app_data.h"
#include "components/registry/identities.h"
#include "platform/com/dispatch_object.h"

namespace vornik {

class Registry : public com::DispatchObject<Registry> {
public:
    Registry();

    static const com::DispatchTable<Registry>& Members();
    static const com::ClassIdentity& Identity() { return RegistryIdentity; }

private:
    // A key below one of the hives of the machine named by ComputerName.
    com::ComPtr<RegKey> hiveKey(winreg::HKEY hive, const std::string& keyName) const;
    com::Variant searchRegistry(const std::string& text, std::int32_t searchType, com::Invocation& call) const;

    void putComputerName(const std::string& name);
    void putCompanyName(const std::string& name);
    void putAppName(const std::string& name);

    // The machine (empty: the local one) and the application whose data
    // the application members keep.
    ApplicationIdentity identity_;
};

} // namespace vornik
