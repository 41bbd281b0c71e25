#pragma once
// Whole-file writes that never leave a half-written file behind: the content
// goes to a temporary file in the same folder, is flushed to disk and then
// renamed over the target, so readers see either the old or the new file.

#include "platform/com/hresult.h"

#include <filesystem>
#include <string_view>

namespace net {

// Throws ComError on failure; the target is then unchanged and no temporary
// file remains. The folder must exist.
void WriteFileAtomically(const std::filesystem::path& target, std::string_view content);

// The error number for a failed system call: access and space problems as
// their Windows codes, anything else as E_FAIL.
com::HRESULT HResultFromErrno(int error);

} // namespace net
