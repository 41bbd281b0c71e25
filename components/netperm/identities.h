#pragma once
// The identity of the share and permission component: its classes and
// interfaces, and the enumerations its members take.

#include "platform/com/dispatch_table.h"

namespace netperm {

inline const com::ClassIdentity SharesIdentity{com::GuidLiteral("{CB08069F-9948-11D5-98A0-0050BAD8F573}"),
                                               com::GuidLiteral("{CB08069E-9948-11D5-98A0-0050BAD8F573}")};
inline const com::ClassIdentity SharePermIdentity{com::GuidLiteral("{CB0806A1-9948-11D5-98A0-0050BAD8F573}"),
                                                  com::GuidLiteral("{CB0806A0-9948-11D5-98A0-0050BAD8F573}")};
inline const com::ClassIdentity FilePermIdentity{com::GuidLiteral("{CB0806A3-9948-11D5-98A0-0050BAD8F573}"),
                                                 com::GuidLiteral("{CB0806A2-9948-11D5-98A0-0050BAD8F573}")};

enum ServerType {
    WINDOWS_95OR98 = 1,
    WINDOWS_NT_WORKSTATION = 2,
    WINDOWS_NT_SERVER = 3,
    WINDOWS_2000_PROFESSIONAL = 4,
    WINDOWS_2000_SERVER = 5,
    WINDOWS_ALL = 6,
    WINDOWS_NT_2000_ALL = 7,
    WINDOWS_NT_2000_SERVER = 8,
    WINDOWS_NT_2000_WORKSTATION = 9,
};

// What a name argument names: a computer, or a domain whose controller the
// member works on.
enum ServerNameType {
    SERVER = 0,
    DOMAIN = 1,
};

} // namespace netperm
