#pragma once
// The identity of the registry component: its classes and interfaces, and the
// error numbers and texts its members report.

#include "platform/com/dispatch_table.h"

namespace vornik {

inline const com::ClassIdentity RegistryIdentity{com::GuidLiteral("{77E98182-6D80-11D3-AE12-008048D7657D}"),
                                                 com::GuidLiteral("{77E98181-6D80-11D3-AE12-008048D7657D}")};
inline const com::ClassIdentity RegKeyIdentity{com::GuidLiteral("{77E98186-6D80-11D3-AE12-008048D7657D}"),
                                               com::GuidLiteral("{77E98185-6D80-11D3-AE12-008048D7657D}")};
inline const com::ClassIdentity RegStringValueIdentity{com::GuidLiteral("{77E9818B-6D80-11D3-AE12-008048D7657D}"),
                                                       com::GuidLiteral("{77E9818A-6D80-11D3-AE12-008048D7657D}")};
inline const com::ClassIdentity RegNumValueIdentity{com::GuidLiteral("{0A2CD6F5-6F05-11D3-AE14-008048D7657D}"),
                                                    com::GuidLiteral("{0A2CD6F4-6F05-11D3-AE14-008048D7657D}")};
inline const com::ClassIdentity RegBinaryValueIdentity{com::GuidLiteral("{0A2CD6F7-6F05-11D3-AE14-008048D7657D}"),
                                                       com::GuidLiteral("{0A2CD6F6-6F05-11D3-AE14-008048D7657D}")};
inline const com::ClassIdentity RegMultzValueIdentity{com::GuidLiteral("{1F7CE206-3526-11D4-AF93-008048D7657D}"),
                                                      com::GuidLiteral("{1F7CE205-3526-11D4-AF93-008048D7657D}")};

// A registry call failed: the text is the system message of its code.
inline constexpr com::HRESULT RegistryCallFailed = com::MakeHResult(0x80040200);
inline constexpr com::HRESULT InvalidArray = com::MakeHResult(0x80040202);
inline constexpr com::HRESULT ArrayOperationFailed = com::MakeHResult(0x80040204);
inline constexpr com::HRESULT AppNamesEmpty = com::MakeHResult(0x80040205);
inline constexpr com::HRESULT SearchStringTooLong = com::MakeHResult(0x80040206);
inline constexpr com::HRESULT SearchDataNotFound = com::MakeHResult(0x80040207);

inline constexpr const char* InvalidArrayText = "Invalid array";
inline constexpr const char* ArrayOperationFailedText = "The array operation failed";
inline constexpr const char* AppNamesEmptyText = "Either company name or product name is empty";
inline constexpr const char* SearchStringTooLongText = "The Search String parameter exceeds the maximum length";
inline constexpr const char* SearchDataNotFoundText = "The Search Data could not be found";

// The registry access with which keys are opened: read, create subkeys, set values.
inline constexpr std::uint32_t KeyOpenAccess = 0x2001F;

} // namespace vornik
