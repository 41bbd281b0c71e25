#pragma once
// The classes registered in the local host's HKEY_CLASSES_ROOT: ProgID to
// CLSID (following CurVer), CLSID to ProgID and to the module that serves it.
// ProgIDs match without regard to case, as registry key names do.

#include "platform/com/unknown.h"

#include <optional>
#include <string>
#include <string_view>

namespace com {

// HKCR\<progid>\CLSID, else the CLSID of the ProgID that HKCR\<progid>\CurVer
// names; nullopt when neither leads to a valid CLSID.
std::optional<CLSID> CLSIDFromProgID(std::string_view progid);

// HKCR\CLSID\{clsid}\ProgID; nullopt for a class registered without one.
std::optional<std::string> ProgIDFromCLSID(const CLSID& clsid);

// HKCR\CLSID\{clsid}\InprocServer32: the path of the module serving the class.
std::optional<std::string> InprocServerPath(const CLSID& clsid);

} // namespace com
