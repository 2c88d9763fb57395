#pragma once
// The Sound dialog: sound and music switches, up to three sound files per game event, and the
// music file or jukebox folder.
//
// Use:
//     TfmSound dialog(sounds, settings, this);
//     if (dialog.exec() == QDialog::Accepted) sounds.applyMusicSettings(dialog.chosen());
//
// The dialog edits the event lists of `sounds` directly, so "&Play" and the game hear the lists
// as they are being edited; OK stores everything, Cancel puts every list back as it was.

#include "sounds.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace velnora::ui {

// The system folder picker: a folder chosen under title, starting at initial; empty when none.
QString browseForFolder(const QString& title, const QString& root, const QString& initial,
                        QWidget* owner);

class TfmSound : public QDialog {
    Q_OBJECT
public:
    TfmSound(TSounds& sounds, Settings& settings, QWidget* parent = nullptr);

    // The switches and music choice as the controls show them.
    MusicSettings chosen() const;

    // The file and folder pickers; tests replace them. A file picker gets a title, a filter,
    // a default extension and a starting folder, and returns the chosen path or nothing.
    std::function<QString(const QString&, const QString&, const QString&, const QString&)>
        openFileDialog;
    std::function<QString(const QString&, const QString&)> openFolderDialog;

    // Handlers, named as the controls' events
    void lbEventsClick();
    void lbAssociatedClick();
    void bnAddClick();
    void bnRemoveClick();
    void bnPlayClick();
    void bnDefaultClick();
    void bnSelFileClick();
    void bnSelDirClick();
    void bnOKClick();
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    SoundEventList& selectedEvent();
    void fillAssociated(int select);
    void updateButtons();

    TSounds& sounds_;
    Settings& settings_;
    // The event lists as they were at opening, for Cancel.
    SoundEventTable openingSounds_;

    QCheckBox* ckSoundEnabled_ = nullptr;
    QCheckBox* ckMusicEnabled_ = nullptr;
    QListWidget* lbEvents_ = nullptr;
    QListWidget* lbAssociated_ = nullptr;
    QPushButton* bnAdd_ = nullptr;
    QPushButton* bnRemove_ = nullptr;
    QPushButton* bnPlay_ = nullptr;
    QPushButton* bnDefault_ = nullptr;
    QRadioButton* rbSingleFile_ = nullptr;
    QRadioButton* rbJukebox_ = nullptr;
    QLineEdit* edMusicFile_ = nullptr;
    QLineEdit* edJukeboxFolder_ = nullptr;
};

} // namespace velnora::ui
