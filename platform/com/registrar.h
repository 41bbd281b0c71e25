#pragma once
// Registration scripts: the keys and values a module writes into the registry
// when it registers, and removes when it unregisters. One statement a line:
//
//   # a comment
//   keep    HKCR\CLSID                          created when missing; removed only when
//                                               a registration created it and an
//                                               unregistration leaves it empty
//   key     HKCR\Some.ProgID = 'Description'    created (default value when given);
//                                               removed when nothing else is left in it
//   replace HKCR\CLSID\{...} = 'Description'    deleted whole and written anew;
//                                               removed whole
//   value   HKCR\CLSID\{...}\Sub Name = 'Text'  a named string value of a declared key
//
// Hives are HKCR and HKLM. A key's parent must be a hive or a key declared on
// an earlier line. Texts are in single quotes ('' for a quote inside); a key
// path or value name may be quoted too. %MODULE% in any word or text stands for
// the module's path. String values are written as REG_SZ with their zero.

#include "platform/registry/registry.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace com {

struct RegistrarEntry {
    enum class Action { Keep, Key, Replace, Value };

    Action action = Action::Key;
    winreg::HKEY hive = winreg::HKEY_CLASSES_ROOT;
    std::string path;                 // below the hive
    std::string valueName;            // Value only
    std::optional<std::string> text;  // a key's default value, or the value's text
};

struct RegistrarScript {
    std::vector<RegistrarEntry> entries;
    std::string error; // empty when the script is valid: "line 3: ..."
};

RegistrarScript ParseRegistrarScript(std::string_view script, std::string_view modulePath);

// Writes the entries into the local host's registry, in order, as one atomic
// change of its hive: other processes see all of it or none, and a failure
// writes nothing (and so undoes nothing another process wrote).
winreg::Status ApplyRegistration(const std::vector<RegistrarEntry>& entries);
// Removes what ApplyRegistration writes, in reverse order and as one atomic
// change; what is already missing is passed over.
winreg::Status RemoveRegistration(const std::vector<RegistrarEntry>& entries);

} // namespace com
