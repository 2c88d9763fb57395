#include "card_art.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

using namespace velnora::ui;

namespace {

// The game's image names of one suffix, spelt out here rather than taken from the code.
QStringList expectedNames(const QString& suffix) {
    QStringList names;
    for (const char* suit : {"spade", "club", "diamond", "heart"})
        for (const char* rank : {"2", "3", "4", "5", "6", "7", "8", "9", "10", "b", "v", "h", "a"})
            names << QString::fromLatin1(suit) + QString::fromLatin1(rank) + suffix;
    names << "joker" + suffix << "joker2" + suffix;
    for (const char* pattern : {"beach", "fish1", "fish2", "leaves1", "leaves2", "pattern1",
                                "pattern2", "robot", "rose", "shell"})
        names << QString::fromLatin1(pattern) + suffix;
    return names;
}

QImage imageOf(const QPixmap& pm) {
    return pm.toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

TEST(CardArt, EveryImageNameResolvesAtItsSizeTimesTheRatio) {
    struct Case {
        QString suffix;
        QSize size;
    };
    const Case cases[] = {{"640", {42, 65}}, {"800", {53, 81}}, {"1024", {67, 104}}};
    for (const Case& c : cases) {
        const QStringList names = expectedNames(c.suffix);
        ASSERT_EQ(names.size(), 64);
        QSet<QByteArray> distinct;
        for (const QString& name : names) {
            const QPixmap pm = renderCardImage(name, 2.0);
            ASSERT_FALSE(pm.isNull()) << name.toStdString();
            EXPECT_EQ(pm.size(), c.size * 2) << name.toStdString();
            EXPECT_DOUBLE_EQ(pm.devicePixelRatio(), 2.0);
            const QImage img = imageOf(pm);
            // Rounded corners: the very corner is transparent, the middle is covered.
            EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0) << name.toStdString();
            EXPECT_EQ(qAlpha(img.pixel(img.width() / 2, img.height() / 2)), 255)
                << name.toStdString();
            distinct.insert(
                QByteArray(reinterpret_cast<const char*>(img.constBits()), img.sizeInBytes()));
        }
        // Every name draws its own picture; a mix-up in the name table would repeat one.
        EXPECT_EQ(distinct.size(), 64) << c.suffix.toStdString();
    }
    const QPixmap plain = renderCardImage("club2640", 1.0);
    EXPECT_EQ(plain.size(), QSize(42, 65));
    EXPECT_EQ(renderCardImage("club2640", 1.5).size(), QSize(63, 98));
}

TEST(CardArt, NamesMatchWithoutRegardToCase) {
    for (const QString& mixed :
         {QStringLiteral("CLUB2640"), QStringLiteral("HeartA1024"), QStringLiteral("Diamond10800"),
          QStringLiteral("JOKER640"), QStringLiteral("Shell1024"), QStringLiteral("PATTERN2800")}) {
        const QPixmap a = renderCardImage(mixed, 1.0);
        const QPixmap b = renderCardImage(mixed.toLower(), 1.0);
        ASSERT_FALSE(a.isNull()) << mixed.toStdString();
        EXPECT_EQ(imageOf(a), imageOf(b)) << mixed.toStdString();
    }
}

TEST(CardArt, UnknownNamesGiveANullPixmap) {
    for (const QString& bad :
         {QString(), QStringLiteral("club2"), QStringLiteral("club1640"),
          QStringLiteral("spade11640"), QStringLiteral("hearta1280"), QStringLiteral("joker"),
          QStringLiteral("clubj640"), QStringLiteral("shell320"), QStringLiteral("640"),
          QStringLiteral("joker3640"), QStringLiteral(" club2640")})
        EXPECT_TRUE(renderCardImage(bad, 1.0).isNull()) << bad.toStdString();
}

TEST(CardArt, StoredColoursKeepRedInTheLowByte) {
    EXPECT_EQ(colourFromStored(128), QColor(128, 0, 0));
    EXPECT_EQ(colourFromStored(16512), QColor(128, 64, 0));
    EXPECT_EQ(colourFromStored(32768), QColor(0, 128, 0));
    EXPECT_EQ(colourFromStored(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(storedFromColour(QColor(128, 0, 0)), 128u);
    EXPECT_EQ(storedFromColour(QColor(0, 0, 255)), 0xFF0000u);
    EXPECT_EQ(storedFromColour(QColor(0x12, 0x34, 0x56)), 0x563412u);
    EXPECT_EQ(storedFromColour(colourFromStored(0x00ABCDEF)), 0x00ABCDEFu);
}

TEST(CardImageList, FollowsTheFaceNumbering) {
    CardImageList list;
    list.load(0, {CardBack{}, CardBack{}}, 1.0);
    EXPECT_EQ(list.cardSize(), QSize(42, 65));
    const struct {
        int index;
        const char* name;
    } expected[] = {{0, "spade2640"},  {8, "spade10640"}, {9, "spadeb640"},
                    {12, "spadea640"}, {13, "club2640"},  {27, "diamond3640"},
                    {40, "heart3640"}, {51, "hearta640"}, {52, "joker640"}};
    for (const auto& e : expected)
        EXPECT_EQ(imageOf(list.image(e.index)), imageOf(renderCardImage(e.name, 1.0))) << e.index;
    EXPECT_TRUE(list.image(-1).isNull());
    EXPECT_TRUE(list.image(55).isNull());
}

TEST(CardImageList, TheLargestTableDrawsTheLargestPicturesAtItsOwnCardSize) {
    CardImageList list;
    list.load(3, {CardBack{}, CardBack{}}, 2.0);
    EXPECT_EQ(list.cardSize(), QSize(85, 132));
    for (int i = 0; i < kImageListSize; ++i)
        EXPECT_EQ(list.image(i).size(), QSize(170, 264)) << i;
    EXPECT_EQ(imageOf(list.image(13)), imageOf(renderCardImage("club21024", 2.0, {85, 132})));
}

TEST(CardImageList, SolidBackIsTheStoredColourInsideTransparentCorners) {
    CardBack red;
    red.colour = 128;
    CardBack green;
    green.colour = 32768;
    CardImageList list;
    list.load(1, {red, green}, 1.0);
    const QImage first = imageOf(list.image(53));
    const QImage second = imageOf(list.image(54));
    ASSERT_EQ(first.size(), QSize(53, 81));
    EXPECT_EQ(qAlpha(first.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(first.pixel(52, 80)), 0);
    EXPECT_EQ(first.pixel(26, 40), qRgb(128, 0, 0));
    EXPECT_EQ(second.pixel(26, 40), qRgb(0, 128, 0));
    // The outline is black along the middle of each edge.
    EXPECT_EQ(first.pixel(0, 40), qRgb(0, 0, 0));
    EXPECT_EQ(first.pixel(26, 80), qRgb(0, 0, 0));
}

TEST(CardImageList, PatternBackIsTheNamedPattern) {
    CardBack shell;
    shell.type = 1;
    shell.pattern = 9;
    CardBack beach;
    beach.type = 1;
    beach.pattern = 0;
    CardImageList list;
    list.load(2, {shell, beach}, 1.0);
    EXPECT_EQ(imageOf(list.image(53)), imageOf(renderCardImage("shell1024", 1.0)));
    EXPECT_EQ(imageOf(list.image(54)), imageOf(renderCardImage("beach1024", 1.0)));
}

TEST(CardImageList, PictureBackFallsBackToTheSolidColourWhenUnreadable) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString picturePath = dir.filePath("back.bmp");
    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(QColor(0, 0, 200));
    ASSERT_TRUE(picture.save(picturePath, "BMP"));

    CardBack solid;
    solid.colour = 16512;
    CardBack fromFile = solid;
    fromFile.type = 2;
    fromFile.fileName = picturePath;

    CardImageList list;
    list.load(0, {solid, fromFile}, 1.0);
    const QImage solidImage = imageOf(list.image(53));
    const QImage stretched = imageOf(list.image(54));
    // The picture covers the whole card, corners included.
    EXPECT_EQ(stretched.pixel(0, 0), qRgb(0, 0, 200));
    EXPECT_EQ(stretched.pixel(21, 32), qRgb(0, 0, 200));

    ASSERT_TRUE(QFile::remove(picturePath));
    list.load(0, {solid, fromFile}, 1.0);
    EXPECT_EQ(imageOf(list.image(54)), solidImage);

    QFile notAPicture(picturePath);
    ASSERT_TRUE(notAPicture.open(QIODevice::WriteOnly));
    notAPicture.write("this is not a bitmap");
    notAPicture.close();
    list.load(0, {solid, fromFile}, 1.0);
    EXPECT_EQ(imageOf(list.image(54)), solidImage);

    fromFile.fileName.clear();
    list.load(0, {solid, fromFile}, 1.0);
    EXPECT_EQ(imageOf(list.image(54)), solidImage);
}

TEST(CardImageList, OutOfRangeBackSettingsGiveTheSolidColour) {
    CardBack solid;
    solid.colour = 32768;
    CardBack badPattern = solid;
    badPattern.type = 1;
    badPattern.pattern = 10;
    CardBack badType = solid;
    badType.type = 7;
    CardImageList list;
    list.load(0, {badPattern, badType}, 1.0);
    const QImage expected = imageOf(renderCardBack(solid, 0, 1.0));
    EXPECT_EQ(imageOf(list.image(53)), expected);
    EXPECT_EQ(imageOf(list.image(54)), expected);
}

TEST(CardArt, RankShowsInTheStripsLeftVisibleByOverlappingCards) {
    // Meld columns overlap by 12 pixels (the player's downwards, the opponent's upwards) and the
    // opponent's hand by 10 sideways, at every table size: the rank's ink, red or black by suit,
    // must show in the 10 x 12 corners that stay visible.
    auto inkCount = [](const QImage& img, QRect area, bool red) {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                const QRgb c = img.pixel(x, y);
                // Anti-aliased edges count too: pinkish for red ink, grey for black.
                const bool isRed =
                    qRed(c) > 150 && qRed(c) - qGreen(c) > 60 && qRed(c) - qBlue(c) > 50;
                const bool isBlack = std::max({qRed(c), qGreen(c), qBlue(c)}) < 140 &&
                                     std::max({qRed(c), qGreen(c), qBlue(c)}) -
                                             std::min({qRed(c), qGreen(c), qBlue(c)}) <
                                         30;
                if (qAlpha(c) == 255 && (red ? isRed : isBlack)) ++count;
            }
        return count;
    };
    const QStringList suffixes = {"640", "800", "1024"};
    for (const int d : {1, 2}) // at both pixel ratios, in logical pixels times d
        for (const QString& suffix : suffixes) {
            const QStringList names = expectedNames(suffix);
            for (int face = 1; face <= 52; ++face) {
                const std::string name = names[face - 1].toStdString();
                const QImage img = imageOf(renderCardImage(names[face - 1], d));
                const bool red = face > 26;
                const int w = img.width() / d, h = img.height() / d;
                auto area = [d](int x, int y, int aw, int ah) {
                    return QRect(x * d, y * d, aw * d, ah * d);
                };
                // The outer two pixels hold the border, so they are left out.
                EXPECT_GE(inkCount(img, area(2, 2, 8, 10), red), 8 * d * d) << name;
                EXPECT_GE(inkCount(img, area(w - 10, h - 12, 8, 10), red), 8 * d * d) << name;
                // The rank ends inside the strip: the row just below it is clear of ink.
                EXPECT_EQ(inkCount(img, QRect(2 * d, 12 * d, 7 * d, 1), red), 0) << name;
                EXPECT_EQ(inkCount(img, QRect((w - 9) * d, (h - 12) * d - 1, 7 * d, 1), red), 0)
                    << name;
                // The other colour never appears there.
                EXPECT_EQ(inkCount(img, area(2, 2, 8, 10), !red), 0) << name;
            }
        }
}

namespace {

// Number of separate blobs of suit ink inside a rectangle (4-connected, blobs under 12 pixels
// ignored).
int inkBlobs(const QImage& img, const QRect& area, bool red) {
    auto isInk = [&](int x, int y) {
        const QRgb c = img.pixel(x, y);
        if (qAlpha(c) < 255) return false;
        return red ? qRed(c) > 150 && qGreen(c) < 120 && qBlue(c) < 130
                   : qRed(c) < 110 && qGreen(c) < 110 && qBlue(c) < 110;
    };
    std::vector<char> seen(size_t(img.width()) * img.height(), 0);
    int blobs = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            if (seen[size_t(y) * img.width() + x] || !isInk(x, y)) continue;
            int size = 0;
            std::vector<QPoint> todo = {QPoint(x, y)};
            seen[size_t(y) * img.width() + x] = 1;
            while (!todo.empty()) {
                const QPoint pt = todo.back();
                todo.pop_back();
                ++size;
                for (QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    const QPoint n = pt + d;
                    if (!area.contains(n)) continue;
                    char& s = seen[size_t(n.y()) * img.width() + n.x()];
                    if (s || !isInk(n.x(), n.y())) continue;
                    s = 1;
                    todo.push_back(n);
                }
            }
            if (size >= 12) ++blobs;
        }
    return blobs;
}

} // namespace

TEST(CardArt, SpotCardsCarryAsManyPipsAsTheirRank) {
    // Between the two corner index columns a spot card shows exactly its number of pips, and an
    // ace one big pip, in every suit and at every size; pips that ran together or fell off the
    // card would change the count.
    for (const QString& suffix :
         {QStringLiteral("640"), QStringLiteral("800"), QStringLiteral("1024")}) {
        const QStringList names = expectedNames(suffix);
        for (int face = 1; face <= 52; ++face) {
            const int typeIndex = (face - 1) % 13;
            if (typeIndex >= 9 && typeIndex <= 11) continue; // courts
            // The ornamental ring of the ace of spades reaches into the index columns.
            if (face == 13) continue;
            const int expected = typeIndex == 12 ? 1 : typeIndex + 2;
            const QImage img = imageOf(renderCardImage(names[face - 1], 3.0));
            // Inside the border and clear of the two index columns.
            const QRect middle(11 * 3, 2 * 3, img.width() - 22 * 3, img.height() - 4 * 3);
            EXPECT_EQ(inkBlobs(img, middle, face > 26), expected) << names[face - 1].toStdString();
        }
    }
}

TEST(CardArt, CourtsAndBalancedSpotCardsReadTheSameEitherWayUp) {
    // Court figures are a half drawn twice, turned about the card's centre; the two, four and
    // ten have no pip on the middle row (which stands upright), and their lower pips stand on
    // their heads. Turning any of these cards round must give the same picture.
    const QStringList names = expectedNames("1024");
    for (int face = 1; face <= 52; ++face) {
        const int typeIndex = (face - 1) % 13;
        const bool balanced = typeIndex == 0 || typeIndex == 2 || typeIndex == 8;
        const bool court = typeIndex >= 9 && typeIndex <= 11;
        if (!balanced && !court) continue;
        const QImage img = imageOf(renderCardImage(names[face - 1], 2.0));
        const QImage turned = img.transformed(QTransform().rotate(180));
        ASSERT_EQ(turned.size(), img.size());
        int differing = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QRgb a = img.pixel(x, y), b = turned.pixel(x, y);
                if (std::abs(qRed(a) - qRed(b)) > 24 || std::abs(qGreen(a) - qGreen(b)) > 24 ||
                    std::abs(qBlue(a) - qBlue(b)) > 24 || std::abs(qAlpha(a) - qAlpha(b)) > 24)
                    ++differing;
            }
        // Anti-aliasing may differ along a few edges, nothing more.
        EXPECT_LT(differing, img.width() * img.height() / 200) << names[face - 1].toStdString();
    }
}
