#include "rules_dialog.h"

#include "widget_lookup.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <functional>
#include <gtest/gtest.h>

using velnora::RuleSettings;
using velnora::ui::TfmRules;
using namespace velnora::uitest;

namespace {

const char* const kRuleControls[] = {
    "ckRequired",      "rgGoOut",     "rgDrawn",          "ckAddTop",      "ckTopCount",
    "ckInitFreeze",    "ckInitBlock", "ckNaturalPair",    "ckAddExisting", "ckDrawExtra",
    "ckFreezeDiscard", "ckBonus",     "ckwildcardallowed"};

QString caption(QWidget* root, const char* name) {
    if (auto* box = find<QGroupBox>(root, name)) return box->title();
    return {};
}

} // namespace

TEST(RulesDialog, EveryControlCarriesItsNameAndCaption) {
    TfmRules dialog(RuleSettings{}, false);
    dialog.show();
    saveShot(&dialog, "rules_discard_pile");
    const std::pair<const char*, const char*> checks[] = {
        {"ckAddTop", "&Add top card to Velnora"},
        {"ckTopCount", "&Top card counts for initial meld"},
        {"ckInitFreeze", "&Initially frozen"},
        {"ckInitBlock", "&Separately frozen for each player"},
        {"ckNaturalPair", "&Natural pair required"},
        {"ckAddExisting", "Also when adding to existing meld"},
        {"ckDrawExtra", "&Draw extra card"},
        {"ckFreezeDiscard", "&Freeze discard pile"},
        {"ckBonus", "Velnora &bonus counts for initial meld"},
        {"ckwildcardallowed", "Wildcard Velnora is allowed"}};
    for (auto [name, text] : checks) {
        auto* box = find<QCheckBox>(&dialog, name);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), QString::fromLatin1(text)) << name;
    }
    EXPECT_EQ(caption(&dialog, "rgGoOut"), "&Number of Velnoras needed to go out");
    EXPECT_EQ(caption(&dialog, "rgDrawn"), "Number of &Cards drawn each turn");
    auto radios = [&](const char* group) {
        QStringList texts;
        for (auto* b : find<QGroupBox>(&dialog, group)->findChildren<QRadioButton*>())
            texts << b->text();
        return texts;
    };
    EXPECT_EQ(radios("rgGoOut"), QStringList({"&One", "&Two"}));
    EXPECT_EQ(radios("rgDrawn"), QStringList({"On&e", "T&wo"}));
    EXPECT_EQ(find<QAbstractButton>(&dialog, "bnHoyle")->text(), "Hoyle Rules");

    auto* pages = find<QTabWidget>(&dialog, "pcRules");
    ASSERT_EQ(pages->count(), 4);
    EXPECT_EQ(pages->tabText(0), "Discard Pile");
    EXPECT_EQ(pages->tabText(1), "Red Threes");
    EXPECT_EQ(pages->tabText(2), "Velnoras");
    EXPECT_EQ(pages->tabText(3), "Other");
    for (int i = 1; i < 4; ++i) {
        pages->setCurrentIndex(i);
        saveShot(&dialog, QStringLiteral("rules_page%1").arg(i));
    }
    // Every rule sits on exactly one page; none is left outside the tabs.
    for (const char* name : kRuleControls) {
        int onPages = 0;
        for (int i = 0; i < pages->count(); ++i)
            onPages += pages->widget(i)->findChild<QWidget*>(name) != nullptr;
        EXPECT_EQ(onPages, 1) << name;
    }
}

// Each field is flipped on its own, so two controls wired to each other's field show up.
TEST(RulesDialog, ShowsAndReturnsEachRuleThroughItsOwnControl) {
    const RuleSettings base;
    std::vector<std::function<void(RuleSettings&)>> flips = {
        [](RuleSettings& r) { r.velnoraRequired = !r.velnoraRequired; },
        [](RuleSettings& r) { r.velnorasToGoOut = 2; },
        [](RuleSettings& r) { r.cardsDrawn = 2; },
        [](RuleSettings& r) { r.addToVelnora = !r.addToVelnora; },
        [](RuleSettings& r) { r.topCardCounts = !r.topCardCounts; },
        [](RuleSettings& r) { r.initialBlock = !r.initialBlock; },
        [](RuleSettings& r) { r.initialBlockForBoth = !r.initialBlockForBoth; },
        [](RuleSettings& r) { r.naturalPair = !r.naturalPair; },
        [](RuleSettings& r) { r.addExistingMeld = !r.addExistingMeld; },
        [](RuleSettings& r) { r.drawExtra = !r.drawExtra; },
        [](RuleSettings& r) { r.threeBlock = !r.threeBlock; },
        [](RuleSettings& r) { r.bonusCounts = !r.bonusCounts; },
        [](RuleSettings& r) { r.wildcardVelnora = !r.wildcardVelnora; }};
    for (size_t i = 0; i < flips.size(); ++i) {
        RuleSettings r = base;
        flips[i](r);
        ASSERT_NE(r, base);
        TfmRules dialog(r, false);
        EXPECT_EQ(dialog.rules(), r) << "field " << i;
    }
    TfmRules dialog(base, false);
    EXPECT_TRUE(find<QCheckBox>(&dialog, "ckInitBlock")->isChecked());
    EXPECT_FALSE(find<QCheckBox>(&dialog, "ckFreezeDiscard")->isChecked());
    EXPECT_TRUE(find<QRadioButton>(&dialog, "rgGoOut0")->isChecked());
}

TEST(RulesDialog, HoylePresetThenOkGivesThePreset) {
    RuleSettings start; // differs from the preset in seven fields
    start.bonusCounts = true;
    TfmRules dialog(start, false);
    dialog.show();
    ASSERT_TRUE(click(&dialog, "bnHoyle"));
    EXPECT_TRUE(find<QRadioButton>(&dialog, "rgGoOut1")->isChecked());
    EXPECT_TRUE(find<QRadioButton>(&dialog, "rgDrawn1")->isChecked());
    EXPECT_FALSE(find<QCheckBox>(&dialog, "ckNaturalPair")->isChecked());
    EXPECT_FALSE(find<QCheckBox>(&dialog, "ckwildcardallowed")->isChecked());
    EXPECT_FALSE(find<QCheckBox>(&dialog, "ckBonus")->isChecked());
    // The preset turns the natural pair off, so its dependent option goes grey.
    EXPECT_FALSE(find<QCheckBox>(&dialog, "ckAddExisting")->isEnabled());
    ASSERT_TRUE(click(&dialog, "bnOK"));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.rules(), velnora::hoyleRules());
}

TEST(RulesDialog, HoylePresetThenCancelChangesNothing) {
    RuleSettings start;
    start.threeBlock = true;
    start.bonusCounts = true;
    {
        TfmRules dialog(start, false);
        dialog.show();
        ASSERT_TRUE(click(&dialog, "bnHoyle"));
        ASSERT_TRUE(click(&dialog, "bnCancel"));
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    // The preset touched only that dialog's controls: a new one shows the rules it is given.
    TfmRules again(start, false);
    EXPECT_EQ(again.rules(), start);
}

TEST(RulesDialog, LockedWithWarningWhileAGameIsInProgress) {
    RuleSettings start;
    start.cardsDrawn = 2;
    TfmRules dialog(start, true);
    dialog.show();
    saveShot(&dialog, "rules_locked");
    auto* warning = find<QLabel>(&dialog, "lbWarning");
    ASSERT_NE(warning, nullptr);
    EXPECT_TRUE(warning->isVisible());
    EXPECT_EQ(warning->text(),
              "The rules cannot be changed now, because a game is in progress. Press OK and then "
              "F2 to start a new game. The current game will be aborted.");
    for (const char* name : kRuleControls)
        EXPECT_FALSE(find<QWidget>(&dialog, name)->isEnabled()) << name;
    EXPECT_FALSE(find<QWidget>(&dialog, "bnHoyle")->isEnabled());
    EXPECT_FALSE(click(&dialog, "bnHoyle"));
    ASSERT_TRUE(click(&dialog, "bnOK"));
    EXPECT_EQ(dialog.rules(), start);

    TfmRules free(start, false); // defaults keep both parent options ticked
    free.show();
    EXPECT_FALSE(find<QLabel>(&free, "lbWarning")->isVisible());
    for (const char* name : kRuleControls)
        EXPECT_TRUE(find<QWidget>(&free, name)->isEnabled()) << name;
}

TEST(RulesDialog, DependentOptionsGreyOutButKeepTheirTick) {
    TfmRules dialog(RuleSettings{}, false); // initially frozen + separately frozen ticked
    dialog.show();
    auto* freeze = find<QCheckBox>(&dialog, "ckInitFreeze");
    auto* separately = find<QCheckBox>(&dialog, "ckInitBlock");
    EXPECT_TRUE(separately->isEnabled());
    freeze->click();
    EXPECT_FALSE(separately->isEnabled());
    EXPECT_TRUE(separately->isChecked());
    freeze->click();
    EXPECT_TRUE(separately->isEnabled());

    auto* pair = find<QCheckBox>(&dialog, "ckNaturalPair");
    auto* existing = find<QCheckBox>(&dialog, "ckAddExisting");
    existing->click(); // now ticked, while the pair is required
    pair->click();
    EXPECT_FALSE(existing->isEnabled());
    EXPECT_TRUE(existing->isChecked());
    RuleSettings out = dialog.rules();
    EXPECT_FALSE(out.naturalPair);
    EXPECT_TRUE(out.addExistingMeld);

    RuleSettings opened;
    opened.initialBlock = false;
    opened.naturalPair = false;
    TfmRules greyFromStart(opened, false);
    EXPECT_FALSE(find<QWidget>(&greyFromStart, "ckInitBlock")->isEnabled());
    EXPECT_FALSE(find<QWidget>(&greyFromStart, "ckAddExisting")->isEnabled());
}

TEST(RulesDialog, RequiredCaptionFollowsTheVelnorasNeeded) {
    RuleSettings two;
    two.velnorasToGoOut = 2;
    TfmRules dialog(two, false);
    auto* required = find<QCheckBox>(&dialog, "ckRequired");
    EXPECT_EQ(required->text(), "At least two Velnoras required for positive score");
    find<QRadioButton>(&dialog, "rgGoOut0")->click();
    EXPECT_EQ(required->text(), "At least one Velnora required for positive score");
    find<QRadioButton>(&dialog, "rgGoOut1")->click();
    EXPECT_EQ(required->text(), "At least two Velnoras required for positive score");
    EXPECT_EQ(dialog.rules().velnorasToGoOut, 2);
}

TEST(RulesDialog, ReopensOnTheLastPageUnlessAPageIsAsked) {
    {
        TfmRules dialog(RuleSettings{}, false);
        find<QTabWidget>(&dialog, "pcRules")->setCurrentIndex(2);
        dialog.show();
        click(&dialog, "bnCancel");
    }
    EXPECT_EQ(TfmRules::rememberedPage(), 2);
    {
        TfmRules dialog(RuleSettings{}, false);
        EXPECT_EQ(find<QTabWidget>(&dialog, "pcRules")->currentIndex(), 2);
    }
    {
        TfmRules dialog(RuleSettings{}, false, nullptr, TfmRules::redThreesPage);
        EXPECT_EQ(find<QTabWidget>(&dialog, "pcRules")->currentIndex(), 1);
        find<QTabWidget>(&dialog, "pcRules")->setCurrentIndex(0);
        dialog.show();
        click(&dialog, "bnOK");
    }
    EXPECT_EQ(TfmRules::rememberedPage(), 0);
}
