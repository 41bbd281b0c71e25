#pragma once
// The main window.

#include <QMainWindow>

class FrmMainGUI : public QMainWindow {
    Q_OBJECT
public:
    FrmMainGUI();
};
