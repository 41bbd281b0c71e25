#pragma once
// The contents of a registry key as lines of text, so that tests can compare
// a whole tree before and after an operation.

#include "platform/registry/registry.h"

#include <string>
#include <vector>

namespace testing_support {

// One line per key ("A\B") and per value ("A\B [name] type: data"), in
// enumeration order, for everything below subKey of root. String data is
// shown as text with a terminating zero as "\0", other data in hex.
std::vector<std::string> DumpRegistry(winreg::HKEY root, const std::string& subKey = "");

} // namespace testing_support
