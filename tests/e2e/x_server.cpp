#include "e2e/x_server.h"

#include "e2e/xwd_image.h"
#include "support/scoped_env.h"

#include <stdexcept>
#include <thread>

namespace e2e {

namespace {

constexpr auto kStartWait = std::chrono::seconds(30);

// The display number Xvfb writes, with a line end, once it accepts clients.
std::string WaitForDisplayNumber(ChildProcess& server, const std::filesystem::path& numberFile,
                                 const std::filesystem::path& log)
{
    const auto deadline = std::chrono::steady_clock::now() + kStartWait;
    while (std::chrono::steady_clock::now() < deadline) {
        const std::string text = testing_support::ReadFile(numberFile);
        if (const std::size_t end = text.find('\n'); end != std::string::npos) return text.substr(0, end);
        if (server.waitForExit(std::chrono::milliseconds(0)))
            throw std::runtime_error("Xvfb ended at its start: " + testing_support::ReadFile(log));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    throw std::runtime_error("Xvfb named no display within 30 s: " + testing_support::ReadFile(log));
}

} // namespace

XServer::XServer(const std::filesystem::path& workFolder)
{
    const std::filesystem::path numberFile = workFolder / "xvfb-display";
    const std::filesystem::path log = workFolder / "xvfb.log";
    server_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                                 "-noreset"},
        EnvironmentWith({}), numberFile, log);
    display_ = ":" + WaitForDisplayNumber(*server_, numberFile, log);
}

Environment XServer::environment(const Environment& changes) const
{
    Environment environment = EnvironmentWith(changes);
    environment["DISPLAY"] = display_;
    return environment;
}

QImage XServer::screen() const
{
    const QImage image = ImageFromXwd(RunChecked({"xwd", "-root", "-silent"}, environment()));
    if (image.isNull()) throw std::runtime_error("xwd gave a screen dump that cannot be read");
    return image;
}

} // namespace e2e
