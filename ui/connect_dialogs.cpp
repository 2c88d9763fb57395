#include "connect_dialogs.h"

#include "dialog_look.h"
#include "settings.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHostAddress>
#include <QHostInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QNetworkInterface>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace velnora::ui {

namespace {

constexpr const char* kRoleKey = "Network\\ServerorClient";
constexpr const char* kAddressKey = "Network\\LANAddress";

std::string historyKey(int index) {
    return "Network\\LANHist" + std::to_string(index);
}

void tell(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
    QApplication::beep();
    look::message(parent, icon, text);
}

} // namespace

QStringList ownIPv4Addresses() {
    QStringList out;
    for (const QHostAddress& a : QNetworkInterface::allAddresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback()) out << a.toString();
    return out;
}

QString resolveHostName(const QString& name) {
    const QHostInfo info = QHostInfo::fromName(name);
    for (const QHostAddress& a : info.addresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol) return a.toString();
    return {};
}

bool isPlainAddress(const QString& address) {
    for (QChar c : address)
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != '.') return false;
    return true;
}

// "Connect to Opponent"

TfmConnect::TfmConnect(Settings& settings, bool& connectionWanted, QWidget* parent)
    : QDialog(parent), settings_(settings), connectionWanted_(connectionWanted) {
    setObjectName("TfmConnect");
    setWindowTitle("Connect to Opponent");
    setFont(look::dialogFont());

    auto* roles = new QGroupBox(this);
    roles->setObjectName("rgServerClient");
    rbServer_ = new QRadioButton("Server", roles);
    rbServer_->setObjectName("rbServer");
    rbClient_ = new QRadioButton("Client", roles);
    rbClient_->setObjectName("rbClient");
    auto* roleRow = new QHBoxLayout(roles);
    roleRow->addWidget(rbServer_);
    roleRow->addWidget(rbClient_);

    gbOpponent_ = new QGroupBox("IP number of your opponent", this);
    gbOpponent_->setObjectName("gbOpponent");
    cbAddress_ = new QComboBox(gbOpponent_);
    cbAddress_->setObjectName("cbAddress");
    cbAddress_->setEditable(true);
    cbAddress_->setInsertPolicy(QComboBox::NoInsert);
    cbAddress_->setMinimumWidth(200);
    auto* bnPaste = new QPushButton("Paste from clipboard", gbOpponent_);
    bnPaste->setObjectName("bnPaste");
    auto* opponentColumn = new QVBoxLayout(gbOpponent_);
    opponentColumn->addWidget(cbAddress_);
    opponentColumn->addWidget(bnPaste, 0, Qt::AlignLeft);

    gbOwn_ = new QGroupBox("Your own IP Numbers", this);
    gbOwn_->setObjectName("gbOwn");
    lbOwnAddresses_ = new QListWidget(gbOwn_);
    lbOwnAddresses_->setObjectName("lbOwnAddresses");
    lbOwnAddresses_->setMaximumHeight(80);
    auto* bnRefresh = new QPushButton("Refresh", gbOwn_);
    bnRefresh->setObjectName("bnRefresh");
    auto* bnCopy = new QPushButton("Copy to clipboard", gbOwn_);
    bnCopy->setObjectName("bnCopy");
    auto* ownButtons = new QHBoxLayout;
    ownButtons->addWidget(bnRefresh);
    ownButtons->addWidget(bnCopy);
    ownButtons->addStretch();
    auto* ownColumn = new QVBoxLayout(gbOwn_);
    ownColumn->addWidget(lbOwnAddresses_);
    ownColumn->addLayout(ownButtons);

    bnConnect_ = new QPushButton("Connect", this);
    bnConnect_->setObjectName("bnConnect");
    bnConnect_->setDefault(true);
    auto* bnCancel = new QPushButton("Cancel", this);
    bnCancel->setObjectName("bnCancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bnConnect_);
    buttons->addWidget(bnCancel);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(look::kMargin, look::kMargin, look::kMargin, look::kMargin);
    column->setSpacing(look::kSpacing);
    column->addWidget(roles);
    column->addWidget(gbOpponent_);
    column->addWidget(gbOwn_);
    column->addLayout(buttons);
    column->setSizeConstraint(QLayout::SetFixedSize);

    // The history, the last address and the last role
    for (int i = 0;; ++i) {
        const std::string entry = settings_.readString(historyKey(i), "");
        if (entry.empty()) break;
        cbAddress_->addItem(QString::fromStdString(entry));
    }
    cbAddress_->setEditText(QString::fromStdString(settings_.readString(kAddressKey, "")));
    const bool client = settings_.readBool(kRoleKey, false);
    rbClient_->setChecked(client);
    rbServer_->setChecked(!client);
    roleChanged();

    connect(rbServer_, &QRadioButton::toggled, this, [this] { roleChanged(); });
    // Only the player's own choice of "Server" lists the addresses, so a connection started
    // from the command line never stops at a message about them.
    connect(rbServer_, &QRadioButton::clicked, this, &TfmConnect::bnRefreshClick);
    connect(bnRefresh, &QPushButton::clicked, this, &TfmConnect::bnRefreshClick);
    connect(bnCopy, &QPushButton::clicked, this, &TfmConnect::bnCopyClick);
    connect(bnPaste, &QPushButton::clicked, this, &TfmConnect::bnPasteClick);
    connect(cbAddress_, &QComboBox::editTextChanged, this, &TfmConnect::updateConnectButton);
    connect(bnConnect_, &QPushButton::clicked, this, &TfmConnect::bnConnectClick);
    connect(bnCancel, &QPushButton::clicked, this, &QDialog::reject);
    // An opening dialog with "Server" chosen shows the addresses at once.
    if (!client)
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (isVisible() && rbServer_->isChecked()) bnRefreshClick();
            },
            Qt::QueuedConnection);
}

void TfmConnect::roleChanged() {
    const bool server = rbServer_->isChecked();
    gbOpponent_->setVisible(!server);
    gbOwn_->setVisible(server);
    updateConnectButton();
}

void TfmConnect::updateConnectButton() {
    bnConnect_->setEnabled(rbServer_->isChecked() || !cbAddress_->currentText().isEmpty());
}

void TfmConnect::setAddress(const QString& address) {
    cbAddress_->setEditText(address);
}

QString TfmConnect::address() const {
    return cbAddress_->currentText();
}

void TfmConnect::chooseServer(bool server) {
    (server ? rbServer_ : rbClient_)->setChecked(true);
    roleChanged();
}

bool TfmConnect::serverChosen() const {
    return rbServer_->isChecked();
}

QStringList TfmConnect::history() const {
    QStringList out;
    for (int i = 0; i < cbAddress_->count(); ++i)
        out << cbAddress_->itemText(i);
    return out;
}

QStringList TfmConnect::ownAddressList() const {
    QStringList out;
    for (int i = 0; i < lbOwnAddresses_->count(); ++i)
        out << lbOwnAddresses_->item(i)->text();
    return out;
}

void TfmConnect::bnRefreshClick() {
    lbOwnAddresses_->clear();
    const QStringList addresses = ownAddresses ? ownAddresses() : QStringList();
    lbOwnAddresses_->addItems(addresses);
    if (addresses.isEmpty())
        tell(this, QMessageBox::Information,
             "Velnora did not detect an IP address. Please connect to the network first");
}

void TfmConnect::bnCopyClick() {
    QString text;
    if (lbOwnAddresses_->count() == 1)
        text = lbOwnAddresses_->item(0)->text();
    else if (lbOwnAddresses_->currentItem() && lbOwnAddresses_->currentItem()->isSelected())
        text = lbOwnAddresses_->currentItem()->text();
    QApplication::clipboard()->setText(text);
}

void TfmConnect::bnPasteClick() {
    cbAddress_->setEditText(QApplication::clipboard()->text().trimmed());
}

void TfmConnect::bnConnectClick() {
    bnConnect_->setEnabled(false);
    QString mode = "/invite";
    QString target;
    if (!rbServer_->isChecked()) {
        mode = "/join";
        target = cbAddress_->currentText();
        if (!isPlainAddress(target)) {
            tell(this, QMessageBox::Warning,
                 "The IP Number of your opponent may only contain letters, digits and dots.");
            updateConnectButton();
            return;
        }
        bool hasLetter = false;
        for (QChar c : target)
            hasLetter = hasLetter || c.isLetter();
        if (hasLetter) {
            const QString resolved = resolve ? resolve(target) : QString();
            if (resolved.isEmpty() || resolved == "0.0.0.0") {
                tell(this, QMessageBox::Information,
                     "Velnora could not resolve the opponent name.");
                connectionWanted_ = false;
                updateConnectButton();
                return;
            }
            target = resolved;
        }
    }
    // A second try after a failed resolution wants the connection again.
    connectionWanted_ = true;
    if (startConnection) startConnection(mode, target);
    accept();
}

void TfmConnect::done(int result) {
    if (!storesChoices_) {
        QDialog::done(result);
        return;
    }
    settings_.writeBool(kRoleKey, rbClient_->isChecked());
    const QString text = cbAddress_->currentText();
    settings_.writeString(kAddressKey, text.toStdString());
    // An empty entry would end the history when it is read back, so it is never recorded.
    QStringList entries = history();
    if (!text.isEmpty() && !entries.contains(text)) entries.prepend(text);
    while (entries.size() > kHistorySize)
        entries.removeLast();
    for (int i = 0; i < entries.size(); ++i)
        settings_.writeString(historyKey(i), entries[i].toStdString());
    cbAddress_->clear();
    cbAddress_->addItems(entries);
    cbAddress_->setEditText(text);
    QDialog::done(result);
}

// "Network Velnora"

TfmTryConnect::TfmTryConnect(const QString& text, QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("TfmTryConnect");
    setWindowTitle("Network Velnora");
    setFont(look::dialogFont());
    lbText_ = look::plain(new QLabel(text, this));
    lbText_->setObjectName("lbText");
    pbProgress_ = new QProgressBar(this);
    pbProgress_->setObjectName("pbProgress");
    pbProgress_->setRange(0, 99);
    pbProgress_->setValue(0);
    pbProgress_->setTextVisible(false);
    pbProgress_->setMinimumWidth(260);
    auto* bnCancel = new QPushButton("&Cancel", this);
    bnCancel->setObjectName("bnCancel");
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(look::kMargin, look::kMargin, look::kMargin, look::kMargin);
    column->setSpacing(look::kSpacing);
    column->addWidget(lbText_);
    column->addWidget(pbProgress_);
    column->addWidget(bnCancel, 0, Qt::AlignHCenter);
    column->setSizeConstraint(QLayout::SetFixedSize);
    connect(bnCancel, &QPushButton::clicked, this, &TfmTryConnect::cancelled);
}

void TfmTryConnect::step() {
    const int next = pbProgress_->value() + 5;
    pbProgress_->setValue(next > 99 ? 0 : next);
}

int TfmTryConnect::position() const {
    return pbProgress_->value();
}

QString TfmTryConnect::text() const {
    return lbText_->text();
}

void TfmTryConnect::closeEvent(QCloseEvent* event) {
    // The window has no close button; a close from the system counts as "&Cancel".
    event->ignore();
    emit cancelled();
}

} // namespace velnora::ui
