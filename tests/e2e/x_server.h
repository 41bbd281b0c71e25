#pragma once
// A private X server for one road: Xvfb on a display it picks itself, killed
// by its process id when the road ends.

#include "e2e/child_process.h"

#include <QImage>

#include <filesystem>
#include <memory>
#include <string>

namespace e2e {

class XServer {
public:
    // Starts Xvfb; its display number and log go into `workFolder`.
    explicit XServer(const std::filesystem::path& workFolder);

    // ":N", the value of DISPLAY for the programs that use it.
    const std::string& display() const { return display_; }
    // This process's environment with DISPLAY pointing here.
    Environment environment(const Environment& changes = {}) const;

    // The whole screen as it is now (xwd, converted here).
    QImage screen() const;

private:
    std::unique_ptr<ChildProcess> server_;
    std::string display_;
};

} // namespace e2e
