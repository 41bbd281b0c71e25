#pragma once
// A temporary, empty network root for one test: TARVEX_NETWORK points at it
// for the fixture's lifetime.

#include "support/scoped_env.h"

#include <filesystem>

namespace testing_support {

class TemporaryNetworkRoot {
public:
    TemporaryNetworkRoot() : root_(), variable_("TARVEX_NETWORK", root_.path().string()) {}

    const std::filesystem::path& path() const { return root_.path(); }

private:
    TempFolder root_;
    ScopedEnv variable_;
};

} // namespace testing_support
