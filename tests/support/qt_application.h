#pragma once
// The one QApplication of a test program, created on first use (offscreen, as
// every test runs) and kept until the program ends.

namespace testing_support {

void EnsureQtApplication();

} // namespace testing_support
