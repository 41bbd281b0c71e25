#pragma once
// CSPSharePerm: the permissions of a network share.

#include "components/netperm/identities.h"
#include "platform/com/dispatch_object.h"

namespace netperm {

class CSPSharePerm : public com::DispatchObject<CSPSharePerm> {
public:
    CSPSharePerm();

    static const com::DispatchTable<CSPSharePerm>& Members();
    static const com::ClassIdentity& Identity() { return SharePermIdentity; }
};

} // namespace netperm
