#pragma once
// "Match History": the last hundred match results, newest first.
//
// Use:
//     TfmMatchHistory window(settings, this);
//     window.exec();

#include "settings.h"

#include <QDialog>

#include <functional>
#include <string>

namespace velnora::ui {

class TfmMatchHistory : public QDialog {
    Q_OBJECT
public:
    // Opens the replay of a match from the file name of its record.
    using Replay = std::function<void(QWidget* over, const std::string& recordFile)>;

    // Fills the list (lbHistory) with all hundred stored lines, empty ones included. With a
    // replay, "Replay..." (bnReplay) opens the record of the selected match, where one was kept.
    explicit TfmMatchHistory(Settings& settings, QWidget* parent = nullptr, Replay replay = {});
};

} // namespace velnora::ui
