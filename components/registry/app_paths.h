#pragma once
// App Paths entries: where an application's program lives, as the default
// value of HKEY_LOCAL_MACHINE\software\microsoft\windows\currentversion\app paths\<name>.exe.

#include <string>

namespace vornik {

inline constexpr std::size_t MaxAppPathText = 255;

// The key below HKEY_LOCAL_MACHINE: ".exe" is added unless the name already
// contains ".exe" (in exactly that case).
std::string AppPathsKeyPath(const std::string& appName);

// An empty name fails with error 161; a name or path longer than 255 bytes
// (of UTF-8) with error 87; a key or value that cannot be reached, or a path
// longer than 255 bytes stored, with its registry error.
std::string GetAppPath(const std::string& computer, const std::string& appName);
// Creates the key when missing; the path is stored as REG_SZ without a
// terminating zero.
void SetAppPath(const std::string& computer, const std::string& appName, const std::string& path);

} // namespace vornik
