#pragma once
// The main window's rules that depend on numbers alone.

// Whether Add is enabled for a source and a destination URL level (the
// number of "/" in each address): a whole server into a server (2, 2), a
// workspace into a server (3, 2), and a folder or deeper item into a folder
// or deeper (4 or more, 4 or more).
bool AddAllowed(int srcLevel, int dstLevel);

// Whether Add Profiles is enabled: a workspace into a workspace (3, 3).
bool CreateProfileAllowed(int srcLevel, int dstLevel);

// The progress bar's value after one step: value + step (taken as a single)
// while that does not pass max; max otherwise, so that the bar stays full once
// it is.
float SteppedProgressValue(float value, float max, double step);
