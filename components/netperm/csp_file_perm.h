#pragma once
// CSPFilePerm: the permissions of files and folders, whole or split into
// allowed and denied entries and into those another server can resolve.

#include "components/netperm/identities.h"
#include "platform/com/dispatch_object.h"

namespace netperm {

class CSPFilePerm : public com::DispatchObject<CSPFilePerm> {
public:
    CSPFilePerm();

    static const com::DispatchTable<CSPFilePerm>& Members();
    static const com::ClassIdentity& Identity() { return FilePermIdentity; }
};

} // namespace netperm
