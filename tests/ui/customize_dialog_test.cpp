// The Customize dialog over a table window: players, sizes, level lock, and what OK stores.

#include "context_help.h"
#include "customize_dialog.h"
#include "table_window_support.h"
#include "widget_lookup.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>

using namespace velnora;
using namespace velnora::ui;
using namespace velnora::uitest;

namespace {

class Customize : public test::TableWindowTest {
protected:
    void prepareSettings() override {
        settings.writeString("Player Names\\PlayerName1", "Anna,3,1");
        settings.writeString("Player Names\\PlayerName2", "Bob,1,7");
        settings.writeInt("Settings\\Select Player on startup", 0);
    }

    std::unique_ptr<TfmCustomize> open(int page = -1) {
        state().gameInProgress = 0;
        auto dialog = std::make_unique<TfmCustomize>(*window, page);
        dialog->show();
        return dialog;
    }

    // Types name into the next input box.
    [[nodiscard]] std::unique_ptr<QTimer> typeName(const QString& name, QString* title = nullptr) {
        return onNextModal<QInputDialog>(
            [=](QInputDialog* box) {
                if (title) *title = box->windowTitle() + "|" + box->labelText();
                box->setTextValue(name);
            },
            QDialog::Accepted);
    }
    [[nodiscard]] std::unique_ptr<QTimer> answer(QMessageBox::StandardButton button,
                                                 QString* text = nullptr) {
        return onNextModal<QMessageBox>([=](QMessageBox* b) {
            if (text) *text = b->text();
            b->button(button)->click();
        });
    }

    QString currentLabel(QWidget* d) { return find<QLabel>(d, "lbCurrentPlayer")->text(); }
    QListWidget* list(QWidget* d) { return find<QListWidget>(d, "lbPlayerList"); }
};

} // namespace

TEST_F(Customize, PlayersAreAddedRenamedAndDeletedWithTheCurrentOneFollowing) {
    auto d = open(TfmCustomize::playersPage);
    saveShot(d.get(), "customize-players");
    EXPECT_EQ(currentLabel(d.get()), "Anna");
    EXPECT_TRUE(find<QCheckBox>(d.get(), "ckSelectPlayer")->isEnabled());

    // Commas are refused; a good name goes to the end of the list.
    QString warning, title;
    {
        auto name = typeName("Cleo, the third");
        auto refuse = answer(QMessageBox::Ok, &warning);
        uitest::click(d.get(), "bnNew");
    }
    EXPECT_EQ(warning, "Please do not use commas in the name.");
    EXPECT_EQ(list(d.get())->count(), 2);
    {
        auto name = typeName("Cleo", &title);
        uitest::click(d.get(), "bnNew");
    }
    EXPECT_EQ(title, "New Player|Enter the name of the new player:");
    ASSERT_EQ(list(d.get())->count(), 3);
    EXPECT_EQ(currentLabel(d.get()), "Anna");

    // Renaming makes that player current.
    list(d.get())->setCurrentRow(1);
    {
        auto name = typeName("Bobby", &title);
        uitest::click(d.get(), "bnRename");
    }
    EXPECT_EQ(title, "Rename Player|Enter the new name of the player:");
    EXPECT_EQ(currentLabel(d.get()), "Bobby");

    // Deleting asks, then the first line becomes current.
    QString question;
    {
        auto yes = answer(QMessageBox::Yes, &question);
        uitest::click(d.get(), "bnDelete");
    }
    EXPECT_EQ(question, "Do you want to delete the player Bobby?");
    EXPECT_EQ(currentLabel(d.get()), "Anna");
    EXPECT_FALSE(find<QAbstractButton>(d.get(), "bnSetCurrent")->isEnabled());

    list(d.get())->setCurrentRow(1);
    uitest::click(d.get(), "bnSetCurrent");
    EXPECT_EQ(currentLabel(d.get()), "Cleo");

    // OK: the list is rewritten with the current player first, the rename kept its record.
    uitest::click(d.get(), "bnOK");
    ASSERT_EQ(window->playerList.size(), 2u);
    EXPECT_EQ(window->currentPlayer, 1);
    EXPECT_EQ(settings.readString("Player Names\\PlayerName1", ""), "Cleo,0,0");
    EXPECT_EQ(settings.readString("Player Names\\PlayerName2", ""), "Anna,3,1");
    EXPECT_EQ(settings.readString("Player Names\\PlayerName3", ""), "");
}

TEST_F(Customize, TheFirstPlayerIsCurrentAtOnceAndDeletingTheLastLeavesPlayer) {
    window->playerList.clear();
    window->currentPlayer = -1;
    auto d = open(TfmCustomize::playersPage);
    EXPECT_EQ(currentLabel(d.get()), "Player");
    EXPECT_FALSE(find<QAbstractButton>(d.get(), "bnDelete")->isEnabled());
    EXPECT_FALSE(find<QAbstractButton>(d.get(), "bnRename")->isEnabled());
    {
        auto name = typeName("Zoe");
        uitest::click(d.get(), "bnNew");
    }
    EXPECT_EQ(currentLabel(d.get()), "Zoe");
    EXPECT_TRUE(find<QAbstractButton>(d.get(), "bnDelete")->isEnabled());
    EXPECT_FALSE(find<QCheckBox>(d.get(), "ckSelectPlayer")->isEnabled());
    {
        auto yes = answer(QMessageBox::Yes);
        uitest::click(d.get(), "bnDelete");
    }
    EXPECT_EQ(currentLabel(d.get()), "Player");
    EXPECT_FALSE(find<QAbstractButton>(d.get(), "bnDelete")->isEnabled());
    EXPECT_FALSE(find<QAbstractButton>(d.get(), "bnResetStats")->isEnabled());
}

TEST_F(Customize, DeletingTheCurrentOfTwoMakesTheOtherCurrent) {
    auto d = open(TfmCustomize::playersPage);
    list(d.get())->setCurrentRow(0);
    {
        auto yes = answer(QMessageBox::Yes);
        uitest::click(d.get(), "bnDelete");
    }
    EXPECT_EQ(currentLabel(d.get()), "Bob");
    uitest::click(d.get(), "bnOK");
    EXPECT_EQ(window->currentPlayer, 0);
    EXPECT_EQ(window->game().options.playerName, "Anna"); // taken over by the caller's apply
}

TEST_F(Customize, AResetStandsWhenTheDialogIsCancelled) {
    auto d = open(TfmCustomize::playersPage);
    list(d.get())->setCurrentRow(1);
    QString question;
    {
        auto yes = answer(QMessageBox::Yes, &question);
        uitest::click(d.get(), "bnResetStats");
    }
    EXPECT_EQ(question, "Do you want to reset the win ratio statistics for player Bob?");
    uitest::click(d.get(), "bnCancel");
    EXPECT_EQ(window->playerList[1], (PlayerRecord{"Bob", 0, 0}));
    // Stored at once: the next start reads the reset counts even if nothing else is written.
    EXPECT_EQ(settings.readString("Player Names\\PlayerName2", ""), "Bob,0,0");
    EXPECT_EQ(loadPlayerList(settings)[0], (PlayerRecord{"Anna", 3, 1}));
}

TEST_F(Customize, SetCurrentAndResetStatsFollowTheSelection) {
    auto d = open(TfmCustomize::playersPage);
    auto enabled = [&](const char* name) {
        return find<QAbstractButton>(d.get(), name)->isEnabled();
    };
    // Opening selects the current player's line.
    ASSERT_EQ(list(d.get())->selectedItems().size(), 1);
    EXPECT_TRUE(enabled("bnSetCurrent"));
    EXPECT_TRUE(enabled("bnResetStats"));
    // A click below the names clears the selection but keeps the current row.
    list(d.get())->clearSelection();
    EXPECT_EQ(list(d.get())->currentRow(), 0);
    EXPECT_FALSE(enabled("bnSetCurrent"));
    EXPECT_FALSE(enabled("bnResetStats"));
    {
        auto name = typeName("Zara"); // must not be asked: no line is highlighted
        uitest::click(d.get(), "bnRename");
    }
    EXPECT_EQ(list(d.get())->item(0)->text(), "Anna");

    // After a delete the first line is selected and current: its statistics can be reset.
    list(d.get())->setCurrentRow(1);
    {
        auto yes = answer(QMessageBox::Yes);
        uitest::click(d.get(), "bnDelete");
    }
    EXPECT_EQ(list(d.get())->selectedItems().size(), 1);
    EXPECT_FALSE(enabled("bnSetCurrent"));
    EXPECT_TRUE(enabled("bnResetStats"));
}

TEST_F(Customize, OnlyTheSizesTheScreenHoldsCanBeChosen) {
    window->maxWindowSizeIndex = 1;
    auto d = open(TfmCustomize::screenPage);
    EXPECT_TRUE(find<QRadioButton>(d.get(), "rgWindowSize0")->isEnabled());
    EXPECT_TRUE(find<QRadioButton>(d.get(), "rgWindowSize1")->isEnabled());
    EXPECT_FALSE(find<QRadioButton>(d.get(), "rgWindowSize2")->isEnabled());
    EXPECT_FALSE(find<QRadioButton>(d.get(), "rgWindowSize3")->isEnabled());
}

TEST_F(Customize, TheLevelIsLockedDuringAGameAndAggressivenessIsTheExpertsAlone) {
    state().gameInProgress = 1;
    TfmCustomize locked(*window, TfmCustomize::levelPage);
    locked.show();
    EXPECT_FALSE(find<QGroupBox>(&locked, "rgLevel")->isEnabled());
    EXPECT_TRUE(find<QLabel>(&locked, "lbWarning")->isVisible());
    EXPECT_FALSE(find<QSlider>(&locked, "tbAggression")->isEnabled());
    locked.reject();

    auto d = open(TfmCustomize::levelPage);
    saveShot(d.get(), "customize-level");
    EXPECT_TRUE(find<QGroupBox>(d.get(), "rgLevel")->isEnabled());
    EXPECT_FALSE(find<QLabel>(d.get(), "lbWarning")->isVisible());
    EXPECT_FALSE(find<QSlider>(d.get(), "tbAggression")->isEnabled());
    EXPECT_FALSE(find<QAbstractButton>(d.get(), "bnApply")->isEnabled());
    find<QRadioButton>(d.get(), "rgLevel2")->click();
    EXPECT_TRUE(find<QSlider>(d.get(), "tbAggression")->isEnabled());
    EXPECT_TRUE(find<QAbstractButton>(d.get(), "bnApply")->isEnabled());
    find<QSlider>(d.get(), "tbAggression")->setValue(70);
    EXPECT_EQ(find<QLabel>(d.get(), "lbAggression")->text(), "70%");

    // Apply stores and stays open, with itself disabled again.
    uitest::click(d.get(), "bnApply");
    EXPECT_EQ(settings.readString("Settings\\Level", ""), "Expert");
    EXPECT_EQ(settings.readInt("Settings\\Aggression", 0), 70);
    EXPECT_EQ(window->game().options.computerLevel, 2);
    EXPECT_TRUE(d->isVisible());
    EXPECT_FALSE(find<QAbstractButton>(d.get(), "bnApply")->isEnabled());
}

TEST_F(Customize, TheMeldingBarStoresItsDelayAndAutosaveOffDropsTheFile) {
    const QString autosave = window->autosaveFile();
    {
        QFile f(autosave);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
    Options withAutoSave = window->options();
    withAutoSave.autoSave = true;
    window->changeOptions(withAutoSave, true);
    auto d = open(TfmCustomize::generalPage);
    saveShot(d.get(), "customize-general");
    EXPECT_EQ(find<QSlider>(d.get(), "tbMelding")->value(), 10); // the test's delay of 0
    find<QSlider>(d.get(), "tbMelding")->setValue(0);
    find<QCheckBox>(d.get(), "ckAutoSave")->setChecked(false);
    find<QRadioButton>(d.get(), "rgDiscard1")->click();
    find<QCheckBox>(d.get(), "ckNoAnimation")->click();
    EXPECT_TRUE(find<QSlider>(d.get(), "tbCardSpeed")->isEnabled());
    uitest::click(d.get(), "bnApply");
    EXPECT_EQ(settings.readInt("Settings\\Delay", -1), 1500);
    EXPECT_EQ(window->options().meldDelay, 1500);
    EXPECT_FALSE(QFile::exists(autosave));
    EXPECT_EQ(settings.readInt("Settings\\AutoSave", 1), 0);
    EXPECT_EQ(settings.readString("Settings\\Mouse Options", ""), "Double Right Click");
    EXPECT_EQ(settings.readInt("Settings\\Card Movement", 0), 1);

    find<QSlider>(d.get(), "tbMelding")->setValue(10);
    find<QSlider>(d.get(), "tbMelding")->setValue(8);
    uitest::click(d.get(), "bnOK");
    EXPECT_EQ(settings.readInt("Settings\\Delay", -1), 300);
}

TEST_F(Customize, NoAnimationKeepsTheStoredCardSpeed) {
    Options o = window->options();
    o.cardSpeed = 7;
    o.cardMovement = false;
    window->changeOptions(o, true);
    auto d = open(TfmCustomize::generalPage);
    EXPECT_FALSE(find<QSlider>(d.get(), "tbCardSpeed")->isEnabled());
    uitest::click(d.get(), "bnOK");
    EXPECT_EQ(settings.readInt("Settings\\Card Speed", -1), 7);
    auto again = open(TfmCustomize::generalPage);
    find<QCheckBox>(again.get(), "ckNoAnimation")->click();
    EXPECT_EQ(find<QSlider>(again.get(), "tbCardSpeed")->value(), 7);
}

TEST_F(Customize, ThePageIsRememberedAndTheExternalCommandPicksOne) {
    {
        auto d = open(TfmCustomize::levelPage);
        uitest::click(d.get(), "bnCancel");
    }
    EXPECT_EQ(TfmCustomize::rememberedPage(), TfmCustomize::levelPage);
    int page = -1;
    {
        auto w = onNextModal<TfmCustomize>(
            [&](TfmCustomize* d) { page = find<QTabWidget>(d, "pcCustomize")->currentIndex(); });
        window->externalCommand(1);
    }
    EXPECT_EQ(page, TfmCustomize::generalPage);
}

TEST_F(Customize, EveryControlHasItsHelpNumber) {
    auto d = open();
    const std::pair<const char*, int> controls[] = {
        {"bnOK", 1019},         {"bnCancel", 1020},      {"bnApply", 1021},
        {"pnColor", 1024},      {"bnChange", 1025},      {"rgWindowSize2", 1026},
        {"ckStatusbar", 1027},  {"ckTurns", 1028},       {"lbCurrentPlayer", 1029},
        {"lbPlayerList", 1030}, {"bnNew", 1031},         {"bnRename", 1032},
        {"bnDelete", 1033},     {"bnResetStats", 1034},  {"bnSetCurrent", 1035},
        {"rgLevel1", 1036},     {"tbAggression", 1037},  {"rgDiscard0", 1038},
        {"tbMelding", 1039},    {"ckNoAnimation", 1040}, {"tbCardSpeed", 1040},
        {"ckAutoSave", 1041},   {"ckHighscores", 1042},
    };
    for (const auto& [name, context] : controls)
        EXPECT_EQ(helpContextOf(find<QWidget>(d.get(), name)), context) << name;
}
