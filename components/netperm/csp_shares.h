#pragma once
// CSPShares: domains, servers, shares, files and folders, users and groups,
// document-store and Exchange servers, IPC sessions and host names.

#include "components/netperm/identities.h"
#include "platform/com/dispatch_object.h"

namespace netperm {

class CSPShares : public com::DispatchObject<CSPShares> {
public:
    CSPShares();

    static const com::DispatchTable<CSPShares>& Members();
    static const com::ClassIdentity& Identity() { return SharesIdentity; }
};

} // namespace netperm
