// The card-back dialogs: what OK stores per deck, the pattern chooser's hit rectangles, and
// picture files.

#include "context_help.h"
#include "deck_dialog.h"
#include "table_window_support.h"
#include "widget_lookup.h"

#include <QAction>
#include <QColorDialog>
#include <QFileDialog>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTemporaryDir>

using namespace velnora;
using namespace velnora::ui;
using namespace velnora::uitest;
using velnora::test::TableWindowTest;

namespace {

void releaseAt(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), w->mapToGlobal(QPointF(at)),
                        button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

std::array<CardBack, 2> startBacks() {
    std::array<CardBack, 2> b;
    b[0].colour = 128;
    b[1].colour = 16512;
    return b;
}

} // namespace

TEST(DeckDialog, OkStoresEachDecksTypeAndOnlyTheValueItUses) {
    MemorySettings settings;
    std::array<CardBack, 2> applied{};
    int applies = 0;
    TfmDeck dialog(settings, startBacks());
    dialog.onApply = [&](const std::array<CardBack, 2>& b) {
        applied = b;
        ++applies;
    };
    dialog.show();
    saveShot(&dialog, "deck");
    EXPECT_EQ(dialog.width(), 274);
    EXPECT_GE(dialog.height(), 311);
    EXPECT_FALSE(find<QAbstractButton>(&dialog, "bnApply")->isEnabled());
    EXPECT_TRUE(find<QRadioButton>(&dialog, "rgType0")->isChecked());

    // Deck one: pattern 7 ("robot") through the chooser.
    find<QRadioButton>(&dialog, "rgType1")->click();
    {
        auto pick = onNextModal<TfmPattern>(
            [](TfmPattern* p) {
                EXPECT_EQ(p->selected(), 0);
                releaseAt(p, TfmPattern::patternRect(7).topLeft());
            },
            QDialog::Accepted);
        click(&dialog, "bnChange");
    }
    EXPECT_EQ(dialog.backs()[0].pattern, 7);
    EXPECT_TRUE(find<QAbstractButton>(&dialog, "bnApply")->isEnabled());

    // Deck two: a new colour.
    find<QRadioButton>(&dialog, "rgDeck1")->click();
    EXPECT_TRUE(find<QRadioButton>(&dialog, "rgType0")->isChecked());
    {
        auto colour = onNextModal<QColorDialog>(
            [](QColorDialog* c) { c->setCurrentColor(QColor(0, 0, 255)); }, QDialog::Accepted);
        click(&dialog, "bnChange");
    }
    EXPECT_EQ(dialog.backs()[1].colour, 0xFF0000u); // blue, stored with red in the low byte

    click(&dialog, "bnOK");
    EXPECT_EQ(settings.readInt("Cardback\\Type0", -1), 1);
    EXPECT_EQ(settings.readInt("Cardback\\Pattern0", -1), 7);
    EXPECT_FALSE(settings.contains("Cardback\\Color0"));
    EXPECT_EQ(settings.readInt("Cardback\\Type1", -1), 0);
    EXPECT_EQ(settings.readInt("Cardback\\Color1", -1), 0xFF0000);
    EXPECT_FALSE(settings.contains("Cardback\\Pattern1"));
    EXPECT_FALSE(settings.contains("Cardback\\Filename0"));
    EXPECT_FALSE(settings.contains("Cardback\\Filename1"));
    EXPECT_EQ(applies, 1);
    EXPECT_EQ(applied[0].type, 1);
}

TEST(DeckDialog, SwitchingTypesKeepsTheOtherFieldsAndACustomTypeWithoutAFileStoresItsName) {
    MemorySettings settings;
    std::array<CardBack, 2> backs = startBacks();
    backs[0].pattern = 4;
    TfmDeck dialog(settings, backs);
    find<QRadioButton>(&dialog, "rgType1")->click();
    const QImage pattern = dialog.preview().toImage();
    find<QRadioButton>(&dialog, "rgType2")->click();
    // No file yet: the pattern's preview stays.
    EXPECT_EQ(dialog.preview().toImage(), pattern);
    find<QRadioButton>(&dialog, "rgType0")->click();
    EXPECT_EQ(dialog.backs()[0].pattern, 4);
    EXPECT_EQ(dialog.backs()[0].colour, 128u);
    find<QRadioButton>(&dialog, "rgType2")->click();
    click(&dialog, "bnOK");
    EXPECT_EQ(settings.readInt("Cardback\\Type0", -1), 2);
    EXPECT_TRUE(settings.contains("Cardback\\Filename0"));
    EXPECT_EQ(settings.readString("Cardback\\Filename0", "x"), "");
}

TEST(DeckDialog, APictureFileIsTakenAndAFileThatIsNoPictureIsIgnored) {
    QTemporaryDir dir;
    const QString picture = dir.filePath("back.png");
    QImage image(20, 30, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    ASSERT_TRUE(image.save(picture));
    const QString notPicture = dir.filePath("notes.bmp");
    {
        QFile f(notPicture);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a bitmap");
    }
    MemorySettings settings;
    TfmDeck dialog(settings, startBacks());
    find<QRadioButton>(&dialog, "rgType2")->click();
    auto choose = [&](const QString& file) {
        auto pick = onNextModal<QFileDialog>(
            [&](QFileDialog* d) {
                EXPECT_TRUE(d->nameFilters().value(0).startsWith("Bitmaps (*.bmp)"));
                d->selectFile(file);
            },
            QDialog::Accepted);
        click(&dialog, "bnChange");
    };
    choose(picture);
    EXPECT_EQ(dialog.backs()[0].fileName, picture);
    EXPECT_EQ(dialog.preview().toImage().pixelColor(10, 10), QColor(Qt::yellow));
    choose(notPicture);
    EXPECT_EQ(dialog.backs()[0].fileName, picture);
    EXPECT_EQ(dialog.preview().toImage().pixelColor(10, 10), QColor(Qt::yellow));
}

TEST(PatternChooser, ClicksSelectByTheRectanglesEdgesAndOnlyWithTheLeftButton) {
    std::array<QPixmap, kPatternCount> patterns;
    TfmPattern chooser(patterns, 2);
    EXPECT_EQ(chooser.size(), QSize(297, 210));
    EXPECT_EQ(TfmPattern::patternRect(6), QRect(63, 91, 53, 81));
    EXPECT_EQ(TfmPattern::patternAt({5, 5}), 0);
    EXPECT_EQ(TfmPattern::patternAt({57, 85}), 0);
    EXPECT_EQ(TfmPattern::patternAt({58, 40}), -1); // the right edge and the gap
    EXPECT_EQ(TfmPattern::patternAt({30, 86}), -1); // the bottom edge
    EXPECT_EQ(TfmPattern::patternAt({63, 91}), 6);

    releaseAt(&chooser, {60, 40});
    EXPECT_EQ(chooser.selected(), 2);
    releaseAt(&chooser, {70, 100}, Qt::RightButton);
    EXPECT_EQ(chooser.selected(), 2);
    releaseAt(&chooser, {70, 100});
    EXPECT_EQ(chooser.selected(), 6);
}

TEST(DeckDialog, EveryControlHasItsHelpNumber) {
    MemorySettings settings;
    TfmDeck dialog(settings, startBacks());
    const std::pair<const char*, int> controls[] = {
        {"imPreview", 1018}, {"bnOK", 1019},     {"bnCancel", 1020}, {"bnApply", 1021},
        {"rgType1", 1022},   {"bnChange", 1023}, {"rgDeck0", 1084},
    };
    for (const auto& [name, context] : controls)
        EXPECT_EQ(helpContextOf(find<QWidget>(&dialog, name)), context) << name;
}

TEST(DeckDialog, ThePreviewShowsWholeInsideItsBox) {
    MemorySettings settings;
    TfmDeck dialog(settings, startBacks());
    dialog.show();
    auto* preview = find<QWidget>(&dialog, "imPreview");
    const QWidget* box = preview->parentWidget();
    EXPECT_TRUE(box->contentsRect().contains(preview->geometry()))
        << preview->geometry().bottom() << " " << box->contentsRect().bottom();
    EXPECT_TRUE(dialog.rect().contains(box->geometry()));
}

// The table takes the new backs at once.
TEST_F(TableWindowTest, TheDecksMenuRebuildsTheTablesBacks) {
    auto answer = onNextModal<TfmDeck>(
        [](TfmDeck* d) {
            find<QRadioButton>(d, "rgType1")->click();
            uitest::click(d, "bnOK");
        },
        QDialog::Accepted);
    window->findChild<QAction*>("Decks1")->trigger();
    EXPECT_EQ(window->cardBacks[0].type, 1);
    EXPECT_EQ(settings.readInt("Cardback\\Type0", -1), 1);
}
