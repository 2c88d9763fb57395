#pragma once
// The card pictures of the table: faces, the joker and the back patterns, drawn as vectors and
// looked up by the game's image names ("club2640", "shell1024"), plus the table's image list.

#include <QColor>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>

#include <array>

namespace velnora::ui {

constexpr int kPatternCount = 10;
constexpr int kImageListSize = 55; // 52 faces, the joker, two backs
constexpr int kJokerImage = 52;
constexpr int kFirstBackImage = 53;

// How one deck's back is drawn; the settings store and the deck dialog keep these fields.
struct CardBack {
    int type = 0;         // 0 solid colour, 1 built-in pattern, 2 picture file
    quint32 colour = 128; // stored colour: red in the low byte, then green, then blue
    QString fileName;
    int pattern = 0; // 0..9, index into patternNames()
};

// The ten built-in back patterns in index order ("beach" ... "shell").
const QStringList& patternNames();

// Image-name suffix of a table size index 0..3 ("640", "800", "1024", "1024").
QString sizeSuffix(int sizeIndex);

// Logical card size for a table size index 0..3 (an index outside is treated as 0): the
// layout's, which for the largest table is larger than its images' name suffix says.
QSize cardSizeFor(int sizeIndex);

// Every image name the program can draw for one suffix: 52 faces, "joker", the spare "joker2"
// and the ten patterns, each followed by the suffix.
QStringList cardImageNames(const QString& suffix);

// A stored colour (red in the low byte) as a QColor; any flag bits above the blue byte are
// ignored.
QColor colourFromStored(quint32 stored);

// The stored form of a colour (red in the low byte), as the settings keep it.
quint32 storedFromColour(const QColor& colour);

// Draws the image of a game image name (matched without regard to case) at its logical size,
// with the pixmap's device pixel ratio set to dpr; a null pixmap for an unknown name.
QPixmap renderCardImage(const QString& imageName, qreal dpr);
// The same picture drawn at another logical size.
QPixmap renderCardImage(const QString& imageName, qreal dpr, QSize logical);

// Draws one deck's back at a table size: solid colour, pattern or stretched picture file; a
// missing or unreadable picture and an out-of-range type or pattern give the solid colour.
QPixmap renderCardBack(const CardBack& back, int sizeIndex, qreal dpr);

// The table's card images for one size: faces by face - 1, the joker at 52, the backs at 53, 54.
class CardImageList {
public:
    // Rebuilds every image for a table size index with the two decks' backs.
    void load(int sizeIndex, const std::array<CardBack, 2>& backs, qreal dpr);

    // The image at an index 0..54; a null pixmap outside that range or before load().
    const QPixmap& image(int index) const;

    // The logical size of every image after load().
    QSize cardSize() const { return size_; }

    int sizeIndex() const { return sizeIndex_; }
    qreal devicePixelRatio() const { return dpr_; }

private:
    std::array<QPixmap, kImageListSize> images_;
    QSize size_;
    int sizeIndex_ = 0;
    qreal dpr_ = 1.0;
};

} // namespace velnora::ui
