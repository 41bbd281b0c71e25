#pragma once
// A registry operation that cannot go on, carrying the Windows error code the
// public call returns.

#include "platform/registry/registry.h"

#include <stdexcept>
#include <string>

namespace winreg {

class RegistryFailure : public std::runtime_error {
public:
    explicit RegistryFailure(Status status) : std::runtime_error("registry error " + std::to_string(status)), status_(status) {}
    Status status() const { return status_; }

private:
    Status status_;
};

} // namespace winreg
