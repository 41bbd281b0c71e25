#include "app/mainwindow/frm_main_gui.h"

FrmMainGUI::FrmMainGUI()
{
    setObjectName(QStringLiteral("FrmMainGUI"));
    setWindowTitle(QStringLiteral("Tarvex v2.0.2 for SharePoint"));
    resize(800, 600);
}
