// card-sheet: renders every card face, the spare joker, the ten back patterns and the solid and
// picture backs onto one PNG contact sheet, for judging the card art at a size and pixel ratio.
#include "card_art.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QImage>
#include <QPainter>

#include <cstdio>

using namespace velnora::ui;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Render a contact sheet of the card art.");
    parser.addHelpOption();
    parser.addOption({"size", "Table size index 0..3.", "index", "0"});
    parser.addOption({"dpr", "Device pixel ratio.", "ratio", "2"});
    parser.addOption({"picture", "Picture file for the picture back.", "file"});
    parser.addOption({"out", "Output PNG file.", "file", "card-sheet.png"});
    parser.process(app);

    const int sizeIndex = parser.value("size").toInt();
    const qreal dpr = parser.value("dpr").toDouble();
    if (sizeIndex < 0 || sizeIndex > 3 || !(dpr > 0)) {
        std::fprintf(stderr, "size must be 0..3 and dpr positive\n");
        return 2;
    }
    const QSize card = cardSizeFor(sizeIndex);
    const QString suffix = sizeSuffix(sizeIndex);
    const int gap = 6;
    const int columns = 13;
    const int rows = 6;
    // Below the grid, cards overlapped the way the table shows them: meld columns step 12 pixels
    // down (the player) or up (the opponent), the opponent's hand 10 pixels sideways.
    const int stackDepth = 5;
    const int stackHeight = card.height() + (stackDepth - 1) * 12;
    const QSize sheet(gap + columns * (card.width() + gap),
                      gap + rows * (card.height() + gap) + stackHeight + gap);

    QImage image(qRound(sheet.width() * dpr), qRound(sheet.height() * dpr),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(QColor(0, 110, 60));
    QPainter p(&image);
    auto place = [&](int index, const QPixmap& pm) {
        const int col = index % columns, row = index / columns;
        p.drawPixmap(QPoint(gap + col * (card.width() + gap), gap + row * (card.height() + gap)),
                     pm);
    };

    const QStringList names = cardImageNames(suffix);
    for (int i = 0; i < 52; ++i)
        place(i, renderCardImage(names[i], dpr, card));
    place(52, renderCardImage(names[52], dpr, card));
    place(53, renderCardImage(names[53], dpr, card));
    CardBack red;
    CardBack green;
    green.colour = 32768;
    CardBack brown;
    brown.colour = 16512;
    CardBack picture;
    picture.type = 2;
    picture.colour = 0xA00000; // dark blue when the picture cannot be read
    picture.fileName = parser.value("picture");
    place(54, renderCardBack(red, sizeIndex, dpr));
    place(55, renderCardBack(green, sizeIndex, dpr));
    place(56, renderCardBack(brown, sizeIndex, dpr));
    place(57, renderCardBack(picture, sizeIndex, dpr));
    for (int i = 0; i < kPatternCount; ++i)
        place(65 + i, renderCardImage(patternNames()[i] + suffix, dpr, card));

    const int stackTop = gap + rows * (card.height() + gap);
    const int stackFaces[stackDepth] = {53, 1, 35, 49, 11};
    for (int column = 0; column < 4; ++column) {
        const int x = gap + column * (card.width() + gap);
        for (int i = 0; i < stackDepth; ++i) {
            const int face = (stackFaces[i] + column * 13 - 1) % 53 + 1;
            const QPixmap pm = renderCardImage(names[face - 1], dpr, card);
            // The opponent's columns grow upwards, so later cards lie higher.
            const int y = column < 2 ? stackTop + i * 12 : stackTop + (stackDepth - 1 - i) * 12;
            p.drawPixmap(QPoint(x, y), pm);
        }
    }
    for (int i = 0; i < 14; ++i)
        p.drawPixmap(QPoint(gap + 4 * (card.width() + gap) + i * 10, stackTop),
                     renderCardImage(names[(i * 4 + 12) % 53], dpr, card));
    p.end();

    const QString out = parser.value("out");
    if (!image.save(out)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
        return 1;
    }
    std::printf("%s\n", qPrintable(out));
    return 0;
}
