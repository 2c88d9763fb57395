#pragma once
// "Match History": the last hundred match results, newest first.
//
// Use:
//     TfmMatchHistory window(settings, this);
//     window.exec();

#include "settings.h"

#include <QDialog>

namespace velnora::ui {

class TfmMatchHistory : public QDialog {
    Q_OBJECT
public:
    // Fills the list (lbHistory) with all hundred stored lines, empty ones included.
    explicit TfmMatchHistory(Settings& settings, QWidget* parent = nullptr);
};

} // namespace velnora::ui
