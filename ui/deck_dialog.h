#pragma once
// "Select Card Back" and its pattern chooser: each of the two decks gets a solid colour, one of
// the ten built-in patterns or a picture file as its back.
//
// Use:
//     TfmDeck dialog(settings, mainWindow.cardBacks, this);
//     dialog.onApply = [&](const std::array<CardBack, 2>& backs) { ... rebuild the images ... };
//     dialog.exec();
// OK and "&Apply" store both decks and hand the records to onApply; Cancel changes nothing.

#include "card_art.h"
#include "settings.h"

#include <QDialog>

#include <array>
#include <functional>

class QButtonGroup;
class QLabel;
class QPushButton;

namespace velnora::ui {

// "Select Card Back Pattern": the ten patterns in two rows of five; a left click picks one.
class TfmPattern : public QDialog {
    Q_OBJECT
public:
    // patterns: the ten images at the 53 x 81 size; selected: the pattern to start on.
    TfmPattern(const std::array<QPixmap, kPatternCount>& patterns, int selected,
               QWidget* parent = nullptr);

    int selected() const { return selected_; }
    // The pattern whose rectangle holds the point (left and top edges inside, right and bottom
    // edges outside), or -1.
    static int patternAt(const QPoint& point);
    // The rectangle pattern i is drawn in.
    static QRect patternRect(int i);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const std::array<QPixmap, kPatternCount>& patterns_;
    int selected_;
};

class TfmDeck : public QDialog {
    Q_OBJECT
public:
    TfmDeck(Settings& settings, const std::array<CardBack, 2>& backs, QWidget* parent = nullptr);

    // Called after OK and "&Apply" have stored both decks.
    std::function<void(const std::array<CardBack, 2>&)> onApply;

    const std::array<CardBack, 2>& backs() const { return backs_; }
    int editedDeck() const { return deck_; }
    // The preview as drawn now.
    QPixmap preview() const { return preview_; }

private:
    void rgDeckClick(int deck);
    void rgTypeClick(int type);
    void bnChangeClick();
    void bnOKClick();
    void bnApplyClick();
    void store();
    // Redraws the preview from the edited deck; a picture that cannot be read leaves it as it
    // was and returns false.
    bool refreshPreview();

    Settings& settings_;
    std::array<CardBack, 2> backs_;
    int deck_ = 0;
    std::array<QPixmap, kPatternCount> patterns_;
    QPixmap preview_;
    QButtonGroup* decks_ = nullptr;
    QButtonGroup* types_ = nullptr;
    QLabel* lbPreview_ = nullptr;
    QPushButton* bnApply_ = nullptr;
};

} // namespace velnora::ui
