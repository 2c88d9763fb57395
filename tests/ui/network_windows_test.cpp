// The windows of network play on their own: "Connect to Opponent", "Network Velnora",
// "Velnora Chat" and "Rule Differences", and the messaging client's entry.

#include "chat_window.h"
#include "connect_dialogs.h"
#include "messenger_entry.h"
#include "registry_velnora.h"
#include "rule_differences.h"
#include "settings.h"
#include "widget_lookup.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace velnora;
using namespace velnora::ui;
using velnora::uitest::click;
using velnora::uitest::find;

namespace {

// Answers the next message box with OK and remembers its text.
[[nodiscard]] std::unique_ptr<QTimer> answerNextBox(QString& text) {
    auto timer = std::make_unique<QTimer>();
    QTimer* poll = timer.get();
    QObject::connect(poll, &QTimer::timeout, poll, [poll, &text] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            poll->stop();
            text = box->text();
            box->done(QMessageBox::Ok);
        }
    });
    poll->start(5);
    return timer;
}

struct Started {
    QString mode, address;
    int count = 0;
};

class ConnectDialogTest : public ::testing::Test {
protected:
    MemorySettings settings;
    bool connectionWanted = true;
    Started started;

    std::unique_ptr<TfmConnect> open() {
        auto d = std::make_unique<TfmConnect>(settings, connectionWanted);
        d->ownAddresses = [] { return QStringList{"192.168.1.20"}; };
        d->resolve = [](const QString& name) {
            return name == "tablehost" ? QString("10.0.0.7") : QString();
        };
        d->startConnection = [this](const QString& m, const QString& a) {
            started = {m, a, started.count + 1};
        };
        return d;
    }
};

} // namespace

TEST_F(ConnectDialogTest, OpensWithTheStoredRoleAddressAndHistory) {
    settings.writeBool("Network\\ServerorClient", true);
    settings.writeString("Network\\LANAddress", "10.0.0.9");
    settings.writeString("Network\\LANHist0", "10.0.0.9");
    settings.writeString("Network\\LANHist1", "10.0.0.3");
    settings.writeString("Network\\LANHist3", "not read past the gap");
    auto d = open();
    EXPECT_FALSE(d->serverChosen());
    EXPECT_EQ(d->address(), "10.0.0.9");
    EXPECT_EQ(d->history(), (QStringList{"10.0.0.9", "10.0.0.3"}));
    EXPECT_TRUE(find<QGroupBox>(d.get(), "gbOpponent")->isVisibleTo(d.get()));
    EXPECT_FALSE(find<QGroupBox>(d.get(), "gbOwn")->isVisibleTo(d.get()));
    EXPECT_EQ(d->windowTitle(), "Connect to Opponent");
}

TEST_F(ConnectDialogTest, ConnectNeedsAnAddressOnlyForTheClient) {
    auto d = open();
    d->chooseServer(false);
    d->setAddress("");
    EXPECT_FALSE(click(d.get(), "bnConnect"));
    d->chooseServer(true);
    EXPECT_TRUE(click(d.get(), "bnConnect"));
    EXPECT_EQ(started.mode, "/invite");
    EXPECT_EQ(started.address, "");
    EXPECT_EQ(d->result(), QDialog::Accepted);
}

TEST_F(ConnectDialogTest, AddressesAreCheckedAndNamesResolved) {
    auto d = open();
    d->chooseServer(false);
    // Digits and dots go through as they are.
    d->setAddress("127.0.0.1");
    d->bnConnectClick();
    EXPECT_EQ(started.mode, "/join");
    EXPECT_EQ(started.address, "127.0.0.1");

    // A hyphen is refused and the dialog stays open with Connect enabled again.
    auto d2 = open();
    d2->chooseServer(false);
    d2->setAddress("table-host");
    QString shown;
    auto guard = answerNextBox(shown);
    d2->bnConnectClick();
    EXPECT_EQ(shown, "The IP Number of your opponent may only contain letters, digits and dots.");
    EXPECT_EQ(started.count, 1);
    EXPECT_TRUE(find<QWidget>(d2.get(), "bnConnect")->isEnabled());

    // A name is resolved first; one that does not resolve clears the wish to connect.
    d2->setAddress("nosuchhost");
    auto guard2 = answerNextBox(shown);
    d2->bnConnectClick();
    EXPECT_EQ(shown, "Velnora could not resolve the opponent name.");
    EXPECT_FALSE(connectionWanted);
    EXPECT_EQ(started.count, 1);
    d2->setAddress("tablehost");
    d2->bnConnectClick();
    EXPECT_EQ(started.address, "10.0.0.7");
    // The second try wants the connection again, or the caller would end it at once.
    EXPECT_TRUE(connectionWanted);
}

TEST_F(ConnectDialogTest, ClosingStoresRoleAddressAndAHistoryOfTen) {
    for (int i = 0; i < 10; ++i)
        settings.writeString("Network\\LANHist" + std::to_string(i), "10.0.0." + std::to_string(i));
    auto d = open();
    d->chooseServer(false);
    d->setAddress("10.0.0.99");
    d->reject();
    EXPECT_TRUE(settings.readBool("Network\\ServerorClient", false));
    EXPECT_EQ(settings.readString("Network\\LANAddress", ""), "10.0.0.99");
    EXPECT_EQ(settings.readString("Network\\LANHist0", ""), "10.0.0.99");
    EXPECT_EQ(settings.readString("Network\\LANHist9", ""), "10.0.0.8");
    EXPECT_EQ(settings.readString("Network\\LANHist10", ""), "");

    // An address already in the list keeps its place; an empty one is never recorded.
    auto again = open();
    again->setAddress("10.0.0.3");
    again->reject();
    EXPECT_EQ(settings.readString("Network\\LANHist0", ""), "10.0.0.99");
    auto empty = open();
    empty->setAddress("");
    empty->reject();
    EXPECT_EQ(settings.readString("Network\\LANHist0", ""), "10.0.0.99");
}

TEST_F(ConnectDialogTest, OwnAddressesAndTheClipboard) {
    auto d = open();
    d->chooseServer(true);
    d->bnRefreshClick();
    EXPECT_EQ(d->ownAddressList(), QStringList{"192.168.1.20"});
    // With exactly one address, Copy takes it even when it is not selected.
    d->bnCopyClick();
    EXPECT_EQ(QApplication::clipboard()->text(), "192.168.1.20");
    QApplication::clipboard()->setText("10.1.2.3");
    d->chooseServer(false);
    d->bnPasteClick();
    EXPECT_EQ(d->address(), "10.1.2.3");

    d->ownAddresses = [] { return QStringList(); };
    QString shown;
    auto guard = answerNextBox(shown);
    d->bnRefreshClick();
    EXPECT_EQ(shown, "Velnora did not detect an IP address. Please connect to the network first");
}

TEST(TryConnectWindow, TheBarStepsByFiveAndWraps) {
    TfmTryConnect w("Waiting for opponent to connect...");
    EXPECT_EQ(w.windowTitle(), "Network Velnora");
    for (int i = 0; i < 19; ++i)
        w.step();
    EXPECT_EQ(w.position(), 95);
    w.step();
    EXPECT_EQ(w.position(), 0);
    int cancelled = 0;
    QObject::connect(&w, &TfmTryConnect::cancelled, [&] { ++cancelled; });
    EXPECT_TRUE(click(&w, "bnCancel"));
    EXPECT_EQ(cancelled, 1);
}

// Chat

class ChatTest : public ::testing::Test {
protected:
    MemorySettings settings;
    QWidget mainWindow;
    void SetUp() override { mainWindow.move(30, 40); }
};

TEST_F(ChatTest, TheLogKeepsTheLast101Lines) {
    TfmChat chat(settings, &mainWindow, true);
    for (int i = 1; i <= 150; ++i)
        chat.receiveLine("Ann: line " + QString::number(i));
    const QStringList lines = chat.lines();
    ASSERT_EQ(lines.size(), 101);
    EXPECT_EQ(lines.front(), "Ann: line 50");
    EXPECT_EQ(lines.back(), "Ann: line 150");
}

TEST_F(ChatTest, EnterSendsTheLineEvenWhenEmpty) {
    TfmChat chat(settings, &mainWindow, false);
    QStringList sent;
    chat.sendLine = [&](const QString& text) {
        sent << text;
        return "Bob: " + text;
    };
    auto* input = find<QLineEdit>(&chat, "edChat");
    auto enter = [input] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(input, &press);
    };
    enter();
    input->setText("hello");
    enter();
    EXPECT_EQ(sent, (QStringList{"", "hello"}));
    EXPECT_EQ(chat.lines(), (QStringList{"Bob: ", "Bob: hello"}));
    EXPECT_TRUE(input->text().isEmpty());
    // Without a network role nothing is sent and nothing logged.
    chat.sendLine = [](const QString&) { return QString(); };
    input->setText("lost");
    enter();
    EXPECT_EQ(chat.lines().size(), 2);
}

TEST_F(ChatTest, AReceivedLineFlashesTheLogFor200Ms) {
    TfmChat chat(settings, &mainWindow, true);
    auto* log = find<QPlainTextEdit>(&chat, "mmChat");
    const QColor normal = log->palette().color(QPalette::Base);
    chat.receiveLine("Ann: hi");
    EXPECT_TRUE(chat.isVisible());
    EXPECT_EQ(log->palette().color(QPalette::Base), QColor(255, 255, 128));
    EXPECT_TRUE(velnora::uitest::waitUntil([&] { return !chat.flashing(); }, 1000));
    EXPECT_EQ(log->palette().color(QPalette::Base), normal);
}

TEST_F(ChatTest, PlaceFallsBackToTheMainWindowAndIsStoredAtTheEnd) {
    settings.writeInt("Chat\\Left", 5000);
    settings.writeInt("Chat\\Top", -3);
    settings.writeInt("Chat\\Width", 300);
    {
        TfmChat chat(settings, &mainWindow, true);
        EXPECT_EQ(chat.pos(), QPoint(30, 40));
        EXPECT_EQ(chat.width(), 300);
        EXPECT_EQ(chat.height(), 108);
        EXPECT_TRUE(chat.windowFlags() & Qt::WindowStaysOnTopHint);
        chat.move(70, 80);
    }
    EXPECT_EQ(settings.readInt("Chat\\Left", 0), 70);
    EXPECT_EQ(settings.readInt("Chat\\Top", 0), 80);
    EXPECT_EQ(settings.readInt("Chat\\Height", 0), 108);
}

TEST_F(ChatTest, NeverPlacedBeforeItStandsBesideTheTableWhereTheScreenHasRoom) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // Room on the right.
    mainWindow.setGeometry(screen.left() + 10, screen.top() + 20, 200, 150);
    {
        TfmChat chat(settings, &mainWindow, false);
        EXPECT_EQ(chat.pos(),
                  QPoint(mainWindow.frameGeometry().right() + 1, mainWindow.frameGeometry().top()));
    }
    // No room on the right, but on the left.
    MemorySettings fresh;
    mainWindow.setGeometry(screen.right() - 250, screen.top() + 20, 200, 150);
    {
        TfmChat chat(fresh, &mainWindow, false);
        EXPECT_EQ(chat.pos(), QPoint(mainWindow.frameGeometry().left() - chat.width(),
                                     mainWindow.frameGeometry().top()));
    }
    // Nowhere beside it: the main window's corner, as before.
    EXPECT_EQ(besideWindow(screen, QSize(100, 100), screen), screen.topLeft());
}

TEST_F(ChatTest, TheChosenFontIsStoredInNineValuesAndReadBack) {
    QFont chosen("DejaVu Sans");
    chosen.setPointSize(12);
    chosen.setBold(true);
    chosen.setStrikeOut(true);
    {
        TfmChat chat(settings, &mainWindow, true);
        // The input line grows with the font: 9 minus the (negative) font height.
        EXPECT_EQ(find<QLineEdit>(&chat, "edChat")->height(), 20);
        chat.applyFont(chosen, QColor(0, 0, 255));
    }
    EXPECT_EQ(settings.readString("Chat\\Font.Name", ""), "DejaVu Sans");
    EXPECT_EQ(settings.readInt("Chat\\Font.Size", 0), 12);
    EXPECT_EQ(settings.readInt("Chat\\Font.Height", 0), -16);
    EXPECT_EQ(settings.readInt("Chat\\Font.Color", 0), 0xFF0000);
    EXPECT_EQ(settings.readInt("Chat\\Font.Pitch", -1), 0);
    EXPECT_TRUE(settings.readBool("Chat\\Font.Bold", false));
    EXPECT_FALSE(settings.readBool("Chat\\Font.Italic", true));
    EXPECT_FALSE(settings.readBool("Chat\\Font.Underline", true));
    EXPECT_TRUE(settings.readBool("Chat\\Font.StrikeOut", false));
    TfmChat again(settings, &mainWindow, true);
    auto* log = find<QPlainTextEdit>(&again, "mmChat");
    EXPECT_EQ(log->font().family(), "DejaVu Sans");
    EXPECT_TRUE(log->font().bold());
    EXPECT_EQ(find<QLineEdit>(&again, "edChat")->font(), log->font());
    EXPECT_EQ(log->palette().color(QPalette::Text), QColor(0, 0, 255));
}

TEST(RuleDifferencesWindow, UseOpponentsRulesHidesAndTells) {
    TfmRuleDifferences w;
    w.setRows({{"Number of Cards drawn each turn", "One", "Two"}});
    w.show();
    EXPECT_EQ(w.windowTitle(), "Rule Differences");
    ASSERT_EQ(w.rowCount(), 1);
    EXPECT_EQ(w.row(0).opponents, "Two");
    int used = 0;
    QObject::connect(&w, &TfmRuleDifferences::useOpponentsRules, [&] { ++used; });
    EXPECT_TRUE(click(&w, "bnUseOpp"));
    EXPECT_EQ(used, 1);
    EXPECT_FALSE(w.isVisible());
    w.show();
    EXPECT_TRUE(click(&w, "bnOK"));
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(used, 1);
}

// The messaging client's entry

class MessengerEntryTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    void SetUp() override {
        qputenv("VELNORA_USER_STORE", dir.filePath("settings.db").toLocal8Bit());
    }
    void TearDown() override { qunsetenv("VELNORA_USER_STORE"); }
};

TEST_F(MessengerEntryTest, WrittenForTheDefaultsAndEveryOwnerOnlyWhenTheClientIsThere) {
    net::registerWithMessenger("/usr/games/velnora", "https://site/");
    TRegistryEnhanced icq;
    icq.Key = net::kMessengerKey;
    EXPECT_FALSE(icq.KeyExists(""));

    icq.WriteValue("Owners\\1234\\Name", std::string("ann"));
    icq.WriteValue("Owners\\5678\\Name", std::string("bob"));
    net::registerWithMessenger("/usr/games/velnora", "https://site/");
    auto read = [&](const std::string& name) {
        return taggedToString(icq.ReadValue(name, std::string()), "");
    };
    const std::string base = "DefaultPrefs\\GlobalExt\\Velnora\\";
    EXPECT_EQ(read(base + "Command Line"), "/ip:%i");
    EXPECT_EQ(read(base + "Client Command Line"), "/ip:%i /join");
    EXPECT_EQ(read(base + "Server Command Line"), "/ip:%i /invite");
    EXPECT_EQ(read(base + "Server Path"), "/usr/games/velnora");
    EXPECT_EQ(read(base + "Type"), "ClientServer");
    EXPECT_EQ(read(base + "Group"), "Games");
    EXPECT_EQ(read(base + "URL"), "https://site/");
    for (const char* owner : {"1234", "5678"})
        EXPECT_EQ(read(std::string("Owners\\") + owner + "\\Prefs\\Externals\\Velnora\\Path"),
                  "/usr/games/velnora");
}
