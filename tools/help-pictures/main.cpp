// help-pictures: draws the card pictures of the help pages with the program's own card art, so
// the help shows exactly the cards the table shows. Writes PNG files into a folder (by default
// resources/help/images of the current directory).
#include "card_art.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <vector>

using namespace velnora::ui;

namespace {

constexpr int kSizeIndex = 1; // the 800 x 600 cards: large enough to read, small beside text
constexpr int kFanStep = 24;  // horizontal step between overlapping cards
constexpr int kGap = 14;      // extra space where a picture separates two groups
constexpr int kJoker = 53;
constexpr int kNoCard = 0; // a gap in a row of cards

// Face number of a natural card: suit 0 spade, 1 club, 2 diamond, 3 heart; type 0 two .. 12 ace.
int face(int suit, int type) {
    return suit * 13 + type + 1;
}

// A row of overlapping card faces; kNoCard leaves a gap.
QImage fan(const std::vector<int>& faces) {
    const QSize card = cardSizeFor(kSizeIndex);
    const QStringList names = cardImageNames(sizeSuffix(kSizeIndex));
    int width = card.width();
    for (std::size_t i = 1; i < faces.size(); ++i)
        width += faces[i] == kNoCard || faces[i - 1] == kNoCard ? kGap : kFanStep;
    QImage image(width, card.height(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    int x = 0;
    for (std::size_t i = 0; i < faces.size(); ++i) {
        if (i > 0) x += faces[i] == kNoCard || faces[i - 1] == kNoCard ? kGap : kFanStep;
        if (faces[i] == kNoCard) continue;
        p.drawPixmap(x, 0, renderCardImage(names[faces[i] - 1], 1.0));
    }
    return image;
}

// Card backs side by side: solid colours, then a few of the patterns.
QImage backs() {
    const QSize card = cardSizeFor(kSizeIndex);
    std::vector<CardBack> list(2);
    list[1].colour = 16512;
    for (int pattern : {0, 3, 6, 8, 9}) {
        CardBack b;
        b.type = 1;
        b.pattern = pattern;
        list.push_back(b);
    }
    const int step = card.width() + 8;
    QImage image(step * int(list.size()) - 8, card.height(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    for (std::size_t i = 0; i < list.size(); ++i)
        p.drawPixmap(int(i) * step, 0, renderCardBack(list[i], kSizeIndex, 1.0));
    return image;
}

} // namespace

int main(int argc, char** argv) {
    // Nothing is shown on screen, so the tool runs without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Draw the card pictures of the help pages.");
    parser.addHelpOption();
    parser.addOption({"out", "Output folder.", "folder", "resources/help/images"});
    parser.process(app);
    const QDir out(parser.value("out"));
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(out.path()));
        return 1;
    }

    enum { spade, club, diamond, heart };
    enum { two = 0, three = 1, eight = 6, queen = 10, king = 11 };
    const std::vector<std::pair<const char*, QImage>> pictures = {
        {"wildcards.png", fan({kJoker, kNoCard, face(club, two), face(heart, two)})},
        {"threes.png", fan({face(diamond, three), face(heart, three), kNoCard, face(spade, three),
                            face(club, three)})},
        {"red-threes.png", fan({face(diamond, three), face(heart, three)})},
        {"meld-kings.png", fan({face(spade, king), face(heart, king), face(diamond, king)})},
        {"meld-wild.png", fan({face(club, eight), face(heart, eight), kJoker})},
        {"velnora-natural.png",
         fan({face(spade, queen), face(club, queen), face(diamond, queen), face(heart, queen),
              face(spade, queen), face(club, queen), face(heart, queen)})},
        {"velnora-mixed.png",
         fan({face(spade, eight), face(club, eight), face(diamond, eight), face(heart, eight),
              face(club, eight), kJoker, face(spade, two)})},
        {"velnora-wild.png", fan({kJoker, kJoker, face(spade, two), face(club, two),
                                  face(diamond, two), face(heart, two), kJoker})},
        {"backs.png", backs()},
    };
    for (const auto& [name, image] : pictures) {
        const QString path = out.filePath(QString::fromLatin1(name));
        if (!image.save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}
