#pragma once
// The connect dialog: the user names the store server of one pane; OK lists
// that server's workspaces in the pane, with the wait form up meanwhile. It
// asks for no credentials and shows who the user is.
//
// The dialog serves the side that the main window marked (gIsSourceConnection)
// when it was shown: modal for the source, modeless for the destination. A
// modeless dialog keeps serving its side whatever is marked later.

#include <QDialog>

#include <string>
#include <string_view>

class ErrorTrap;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

// Whether a name, blanks around it removed, can name a host: letters, digits,
// "-", "_" and ".", beginning with a letter or digit. An empty or blank name
// is none, nor one with "/", "\", "|", "=", "~" or a blank inside.
bool IsServerName(std::string_view name);

class frmConnecting : public QDialog {
    Q_OBJECT
public:
    frmConnecting();

    QFrame* Frame1;
    QLabel* Label2;
    QLabel* Label4;
    QLineEdit* txtURL;
    QLabel* Label3;
    QLabel* lbluser;
    QPushButton* CmdOk;
    QPushButton* CmdCancel;

    // OK: refuses a name that names no server; otherwise stores it, unloads
    // the dialog and lists the server's workspaces in the pane it serves.
    void fnOk_Click();

    // Esc and the window's close button unload the dialog; nothing changes.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void CmdOk_Click();
    void CmdCancel_Click();
    void txtURL_KeyPress(int keyAscii);

    void connectSource(const std::string& server, ErrorTrap& trap);
    void connectDestination(const std::string& server, ErrorTrap& trap);

    bool servesSource_ = true;
};
