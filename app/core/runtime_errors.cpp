#include "app/core/runtime_errors.h"

#include <cerrno>

std::string RuntimeErrorDescription(com::HRESULT number)
{
    switch (number) {
    case kInvalidProcedureCall: return "Invalid procedure call or argument";
    case kOverflow: return "Overflow";
    case kSubscriptOutOfRange: return "Subscript out of range";
    case kDivisionByZero: return "Division by zero";
    case kTypeMismatch: return "Type mismatch";
    case kBadFileName: return "Bad file name or number";
    case kFileNotFound: return "File not found";
    case kFileAlreadyExists: return "File already exists";
    case kDiskFull: return "Disk full";
    case kPermissionDenied: return "Permission denied";
    case kPathFileAccessError: return "Path/File access error";
    case kPathNotFound: return "Path not found";
    default: return "Application-defined or object-defined error";
    }
}

void RaiseRuntimeError(com::HRESULT number) { throw com::ComError(number, RuntimeErrorDescription(number)); }

void RaiseFileError(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS: RaiseRuntimeError(kPermissionDenied);
    case ENOENT:
    case ENOTDIR: RaiseRuntimeError(kPathNotFound);
    case ENOSPC:
    case EDQUOT: RaiseRuntimeError(kDiskFull);
    default: RaiseRuntimeError(kPathFileAccessError);
    }
}
