#pragma once
// The language runtime's own error numbers, raised as com::ComError by the code
// that detects them, so that error traps handle them like any platform error.

#include "platform/com/hresult.h"

#include <string>

inline constexpr com::HRESULT kInvalidProcedureCall = 5;
inline constexpr com::HRESULT kOverflow = 6;
inline constexpr com::HRESULT kSubscriptOutOfRange = 9;
inline constexpr com::HRESULT kDivisionByZero = 11;
inline constexpr com::HRESULT kTypeMismatch = 13;
inline constexpr com::HRESULT kBadFileName = 52;
inline constexpr com::HRESULT kFileNotFound = 53;
inline constexpr com::HRESULT kFileAlreadyExists = 58;
inline constexpr com::HRESULT kDiskFull = 61;
inline constexpr com::HRESULT kPermissionDenied = 70;
inline constexpr com::HRESULT kPathFileAccessError = 75;
inline constexpr com::HRESULT kPathNotFound = 76;

// The runtime's description of one of the numbers above.
std::string RuntimeErrorDescription(com::HRESULT number);

[[noreturn]] void RaiseRuntimeError(com::HRESULT number);
// Raises the file error that matches a failed system call's errno: 70 for a
// refused access, 76 for a missing path, 61 for a full disk, 75 otherwise.
[[noreturn]] void RaiseFileError(int error);
