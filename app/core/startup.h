#pragma once
// The program's start: one running copy only, the splash, the settings
// database and the error log, then the main window.

#include <functional>

// Runs the start-up; showMainWindow loads and shows the main window, which
// the core does not know. Returns once the main window is shown; ends the
// process itself when another copy is running or the start fails.
void Main(const std::function<void()>& showMainWindow);

// The busy stretch that keeps the splash up: a counter from 0 while it is at
// most 4,000,000, without a message-loop turn.
void RunSplashDelay();

// Ends the process at once, without unloading forms or running clean-up.
[[noreturn]] void EndProgram();
