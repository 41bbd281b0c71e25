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

// The first character of a server name that would split the addresses and
// lists built from it: "/" (the item URL), "\" (a tree node's path), "|"
// and "=" (the selection strings); '\0' when it has none. Any other name goes
// to the listing, which answers for a server that is not there.
char SeparatorInServerName(std::string_view name);

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

    // OK: refuses a blank name (emptying the box) and a name with a separator
    // (keeping it, to be mended); otherwise stores the name, unloads the
    // dialog and lists the server's workspaces in the pane it serves.
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
