#include "support/qt_application.h"

#include <QApplication>

namespace testing_support {

void EnsureQtApplication()
{
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "tarvex-test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: widgets that forms leave behind may outlive the tests.
    new QApplication(argc, argv);
}

} // namespace testing_support
