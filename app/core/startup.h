#pragma once
// The program's start: one running copy only, the splash, the settings
// database and the error log, then the main window.

// Runs the start-up. Returns once the main window is shown; ends the process
// itself when another copy is running or the start fails.
void Main();

// The busy stretch that keeps the splash up: a counter from 0 while it is at
// most 4,000,000, without a message-loop turn.
void RunSplashDelay();

// Ends the process at once, without unloading forms or running clean-up.
[[noreturn]] void EndProgram();
