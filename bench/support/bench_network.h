#pragma once
// A benchmark's own network: a temporary folder holding the network root, the
// current user BENCH\bench, and the English store server SRV administered by
// that user. The caller removes the folder when done.

#include <filesystem>

namespace bench {

// Makes the network and returns its temporary folder; throws
// std::runtime_error when the folder cannot be made.
std::filesystem::path MakeBenchNetwork();

} // namespace bench
