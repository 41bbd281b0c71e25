#pragma once
// A whole file below the network root written by its path, for callers that
// hold paths (the demo network, tests): its folder is reached from the root
// name by name without following links, and the file is written as
// Folder::writeFile writes it. Throws ComError(ERROR_INVALID_NAME) for a path
// outside the root.

#include "platform/net/folder.h"

#include <filesystem>
#include <string_view>

namespace net {

void WriteFileAtomically(const std::filesystem::path& target, std::string_view content);

} // namespace net
