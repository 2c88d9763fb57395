#pragma once
// The two windows of starting a connection: "Connect to Opponent", where the player chooses
// server or client and the address, and the small "Network Velnora" window that shows progress
// while the connection is being made.
//
// Use:
//     TfmConnect dialog(settings, connectionWanted, this);
//     dialog.startConnection = [&](const QString& mode, const QString& address) { ... };
//     if (dialog.exec() == QDialog::Accepted && connectionWanted) ...   // waiting state
//     // the command line: dialog.setAddress(a); dialog.chooseServer(b); dialog.bnConnectClick();

#include <QDialog>
#include <QStringList>
#include <QWidget>

#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace velnora {
class Settings;
}

namespace velnora::ui {

// The machine's own IPv4 addresses (loopback left out), in the order the system gives them.
QStringList ownIPv4Addresses();
// The first IPv4 address a host name resolves to; empty when it does not resolve.
QString resolveHostName(const QString& name);
// Whether an address holds only letters, digits and dots.
bool isPlainAddress(const QString& address);

// The "Connect to Opponent" dialog (objectName "TfmConnect").
class TfmConnect : public QDialog {
    Q_OBJECT
public:
    // The address history keeps this many entries.
    static constexpr int kHistorySize = 10;

    // connectionWanted is the caller's flag: a failed name resolution clears it.
    TfmConnect(Settings& settings, bool& connectionWanted, QWidget* parent = nullptr);

    // Starts the connection in mode "/invite" (address empty) or "/join" (a dotted address).
    std::function<void(const QString& mode, const QString& address)> startConnection;
    // Where the own addresses come from; tests give a fixed list.
    std::function<QStringList()> ownAddresses = ownIPv4Addresses;
    std::function<QString(const QString&)> resolve = resolveHostName;

    void setAddress(const QString& address);
    QString address() const;
    void chooseServer(bool server);
    bool serverChosen() const;
    // Off for a start from the command line: what another program chose for one run is not the
    // player's choice, so role, address and history stay as the player left them.
    void setStoresChoices(bool stores) { storesChoices_ = stores; }
    QStringList history() const;
    QStringList ownAddressList() const;

    // Event handlers of the controls
    void bnConnectClick();
    void bnRefreshClick();
    void bnCopyClick();
    void bnPasteClick();

    // Stores the role, the address and the history, however the dialog closes.
    void done(int result) override;

private:
    void roleChanged();
    void updateConnectButton();

    Settings& settings_;
    bool& connectionWanted_;
    bool storesChoices_ = true;
    QRadioButton* rbServer_ = nullptr;
    QRadioButton* rbClient_ = nullptr;
    QGroupBox* gbOpponent_ = nullptr;
    QComboBox* cbAddress_ = nullptr;
    QGroupBox* gbOwn_ = nullptr;
    QListWidget* lbOwnAddresses_ = nullptr;
    QPushButton* bnConnect_ = nullptr;
};

// "Network Velnora": an always-on-top progress window with "&Cancel" (objectName
// "TfmTryConnect"). The caller's timer steps the bar.
class TfmTryConnect : public QWidget {
    Q_OBJECT
public:
    TfmTryConnect(const QString& text, QWidget* parent = nullptr);

    // One tick of the retry timer: the bar moves on by 5 and wraps to 0 after 99.
    void step();
    int position() const;
    QString text() const;

signals:
    // "&Cancel" was pressed.
    void cancelled();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* lbText_ = nullptr;
    QProgressBar* pbProgress_ = nullptr;
};

} // namespace velnora::ui
