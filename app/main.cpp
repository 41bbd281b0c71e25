#include "app/core/startup.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    Main();
    return application.exec();
}
