#pragma once
// The data files of the network root and of a host's folder (network.ini,
// shares.ini, accounts.ini, acl.txt, sessions.ini), by the path of their
// folder: reached from the root through its folders (OpenNetworkFolder),
// never through a link, and rewritten whole and atomically.

#include "platform/net/ini_document.h"
#include "platform/net/network.h"

#include <string>
#include <string_view>

namespace net {

// The file's text; empty when the folder has no such file. Throws ComError
// for a file that is a link or cannot be read.
std::string ReadDataFile(const fs::path& folder, std::string_view fileName);
void WriteDataFile(const fs::path& folder, std::string_view fileName, std::string_view text);

IniDocument ReadIniFile(const fs::path& folder, std::string_view fileName);
void WriteIniFile(const fs::path& folder, std::string_view fileName, const IniDocument& ini);

} // namespace net
