#include "sound_dialog.h"

#include "dialog_look.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace velnora::ui {

namespace {

QString openExistingFile(QWidget* owner, const QString& title, const QString& filter,
                         const QString& suffix, const QString& startDir) {
    QFileDialog dialog(owner, title, startDir, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

QPushButton* makeButton(const QString& caption, const char* name, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

// A list box under its caption; the caption's mnemonic focuses the list.
QVBoxLayout* captioned(const QString& caption, QListWidget* list, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setBuddy(list);
    auto* column = new QVBoxLayout;
    column->setSpacing(4);
    column->addWidget(label);
    column->addWidget(list, 1);
    return column;
}

} // namespace

QString browseForFolder(const QString& title, const QString& root, const QString& initial,
                        QWidget* owner) {
    // Only real folders; the dialog is modal, so the other windows wait for it.
    const QString start = initial.isEmpty() ? root : initial;
    return QFileDialog::getExistingDirectory(owner, title, start, QFileDialog::ShowDirsOnly);
}

TfmSound::TfmSound(TSounds& sounds, Settings& settings, QWidget* parent)
    : QDialog(parent), sounds_(sounds), settings_(settings) {
    setObjectName(QStringLiteral("TfmSound"));
    setWindowTitle(QStringLiteral("Velnora Sound"));
    setFont(look::dialogFont());
    setModal(true);
    openFileDialog = [this](const QString& title, const QString& filter, const QString& suffix,
                            const QString& start) {
        return openExistingFile(this, title, filter, suffix, start);
    };
    openFolderDialog = [this](const QString& title, const QString& start) {
        return browseForFolder(title, QString(), start, this);
    };

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(look::kMargin, look::kMargin, look::kMargin, look::kMargin);
    outer->setSpacing(look::kMargin);

    // Switches
    auto* switches = new QHBoxLayout;
    ckSoundEnabled_ = new QCheckBox(QStringLiteral("&Sound Enabled"), this);
    ckSoundEnabled_->setObjectName(QStringLiteral("ckSoundEnabled"));
    ckMusicEnabled_ = new QCheckBox(QStringLiteral("&Music Enabled"), this);
    ckMusicEnabled_->setObjectName(QStringLiteral("ckMusicEnabled"));
    switches->addWidget(ckSoundEnabled_);
    switches->addSpacing(look::kMargin * 2);
    switches->addWidget(ckMusicEnabled_);
    switches->addStretch(1);
    outer->addLayout(switches);

    // Event sounds
    auto* effects = new QGroupBox(QStringLiteral("Sound Effects"), this);
    effects->setObjectName(QStringLiteral("gbEffects"));
    auto* effectsRow = new QHBoxLayout(effects);
    effectsRow->setSpacing(look::kSpacing);
    lbEvents_ = new QListWidget(effects);
    lbEvents_->setObjectName(QStringLiteral("lbEvents"));
    lbEvents_->setMinimumWidth(190);
    lbAssociated_ = new QListWidget(effects);
    lbAssociated_->setObjectName(QStringLiteral("lbAssociated"));
    lbAssociated_->setMinimumWidth(220);
    lbAssociated_->installEventFilter(this);
    effectsRow->addLayout(captioned(QStringLiteral("Velnora &Events"), lbEvents_, effects), 1);
    effectsRow->addLayout(captioned(QStringLiteral("&Associated Sounds"), lbAssociated_, effects),
                          1);
    auto* buttons = new QVBoxLayout;
    buttons->addSpacing(18);
    bnAdd_ = makeButton(QStringLiteral("&Add..."), "bnAdd", effects);
    bnRemove_ = makeButton(QStringLiteral("&Remove"), "bnRemove", effects);
    bnPlay_ = makeButton(QStringLiteral("&Play"), "bnPlay", effects);
    bnDefault_ = makeButton(QStringLiteral("&Default"), "bnDefault", effects);
    for (QPushButton* b : {bnAdd_, bnRemove_, bnPlay_, bnDefault_})
        buttons->addWidget(b);
    buttons->addStretch(1);
    effectsRow->addLayout(buttons);
    outer->addWidget(effects, 1);

    // Music
    auto* musicBox = new QGroupBox(QStringLiteral("Music"), this);
    musicBox->setObjectName(QStringLiteral("gbMusic"));
    auto* grid = new QGridLayout(musicBox);
    grid->setHorizontalSpacing(look::kSpacing);
    rbSingleFile_ = new QRadioButton(QStringLiteral("&Single Music File"), musicBox);
    rbSingleFile_->setObjectName(QStringLiteral("rbSingleFile"));
    rbJukebox_ = new QRadioButton(QStringLiteral("&Jukebox Folder"), musicBox);
    rbJukebox_->setObjectName(QStringLiteral("rbJukebox"));
    auto* group = new QButtonGroup(musicBox);
    group->addButton(rbSingleFile_);
    group->addButton(rbJukebox_);
    edMusicFile_ = new QLineEdit(musicBox);
    edMusicFile_->setObjectName(QStringLiteral("edMusicFile"));
    edJukeboxFolder_ = new QLineEdit(musicBox);
    edJukeboxFolder_->setObjectName(QStringLiteral("edJukeboxFolder"));
    auto* bnSelFile = makeButton(QStringLiteral("..."), "bnSelFile", musicBox);
    auto* bnSelDir = makeButton(QStringLiteral("..."), "bnSelDir", musicBox);
    for (QPushButton* b : {bnSelFile, bnSelDir})
        b->setFixedWidth(32);
    grid->addWidget(rbSingleFile_, 0, 0);
    grid->addWidget(edMusicFile_, 0, 1);
    grid->addWidget(bnSelFile, 0, 2);
    grid->addWidget(rbJukebox_, 1, 0);
    grid->addWidget(edJukeboxFolder_, 1, 1);
    grid->addWidget(bnSelDir, 1, 2);
    grid->setColumnStretch(1, 1);
    outer->addWidget(musicBox);

    auto* box = new QDialogButtonBox(this);
    auto* bnOK = makeButton(QStringLiteral("OK"), "bnOK", this);
    bnOK->setDefault(true);
    auto* bnCancel = makeButton(QStringLiteral("Cancel"), "bnCancel", this);
    box->addButton(bnOK, QDialogButtonBox::AcceptRole);
    box->addButton(bnCancel, QDialogButtonBox::RejectRole);
    outer->addWidget(box);

    connect(lbEvents_, &QListWidget::currentRowChanged, this, &TfmSound::lbEventsClick);
    connect(lbAssociated_, &QListWidget::currentRowChanged, this, &TfmSound::lbAssociatedClick);
    connect(bnAdd_, &QPushButton::clicked, this, &TfmSound::bnAddClick);
    connect(bnRemove_, &QPushButton::clicked, this, &TfmSound::bnRemoveClick);
    connect(bnPlay_, &QPushButton::clicked, this, &TfmSound::bnPlayClick);
    connect(bnDefault_, &QPushButton::clicked, this, &TfmSound::bnDefaultClick);
    connect(bnSelFile, &QPushButton::clicked, this, &TfmSound::bnSelFileClick);
    connect(bnSelDir, &QPushButton::clicked, this, &TfmSound::bnSelDirClick);
    connect(bnOK, &QPushButton::clicked, this, &TfmSound::bnOKClick);
    connect(bnCancel, &QPushButton::clicked, this, &QDialog::reject);

    FormCreate();
}

void TfmSound::FormCreate() {
    openingSounds_ = sounds_.eventSounds;
    const MusicSettings& m = sounds_.music;
    ckSoundEnabled_->setChecked(m.soundEnabled);
    ckMusicEnabled_->setChecked(m.musicEnabled);
    edMusicFile_->setText(m.musicFile);
    edJukeboxFolder_->setText(m.jukeboxFolder);
    for (int e = 0; e < kSoundEventCount; ++e)
        lbEvents_->addItem(soundEventName(e));
    (m.musicType == 0 ? rbSingleFile_ : rbJukebox_)->setChecked(true);
    lbEvents_->setCurrentRow(0);
    updateButtons();
}

MusicSettings TfmSound::chosen() const {
    MusicSettings m;
    m.soundEnabled = ckSoundEnabled_->isChecked();
    m.musicEnabled = ckMusicEnabled_->isChecked();
    m.musicType = rbSingleFile_->isChecked() ? 0 : 1;
    m.musicFile = edMusicFile_->text();
    m.jukeboxFolder = edJukeboxFolder_->text();
    return m;
}

SoundEventList& TfmSound::selectedEvent() {
    const int row = std::clamp(lbEvents_->currentRow(), 0, kSoundEventCount - 1);
    return sounds_.eventSounds[std::size_t(row)];
}

void TfmSound::fillAssociated(int select) {
    const SoundEventList& list = selectedEvent();
    lbAssociated_->clear();
    for (int i = 0; i < list.count && i < kMaxEventSounds; ++i)
        lbAssociated_->addItem(list.files[std::size_t(i)]);
    if (lbAssociated_->count() > 0)
        lbAssociated_->setCurrentRow(std::clamp(select, 0, lbAssociated_->count() - 1));
    updateButtons();
}

void TfmSound::updateButtons() {
    const bool selected = lbAssociated_->currentRow() >= 0 && lbAssociated_->count() > 0;
    bnAdd_->setEnabled(selectedEvent().count < kMaxEventSounds);
    bnPlay_->setEnabled(selected);
    bnRemove_->setEnabled(selected);
}

void TfmSound::lbEventsClick() {
    fillAssociated(0);
}

void TfmSound::lbAssociatedClick() {
    updateButtons();
}

void TfmSound::bnAddClick() {
    SoundEventList& list = selectedEvent();
    if (list.count >= kMaxEventSounds) return;
    const QString file = openFileDialog(QStringLiteral("Select Sound File"),
                                        QStringLiteral("Sound Files (*.wav);;All Files (*)"),
                                        QStringLiteral("wav"), TSounds::soundFolder());
    if (file.isEmpty()) return;
    list.files[std::size_t(list.count++)] = file;
    fillAssociated(list.count - 1);
}

void TfmSound::bnRemoveClick() {
    SoundEventList& list = selectedEvent();
    const int row = lbAssociated_->currentRow();
    if (row < 0 || row >= list.count) return;
    for (int i = row; i + 1 < list.count; ++i)
        list.files[std::size_t(i)] = list.files[std::size_t(i + 1)];
    list.files[std::size_t(--list.count)].clear();
    // Nothing is selected after a removal: the last remaining sound takes the selection.
    fillAssociated(list.count - 1);
}

void TfmSound::bnPlayClick() {
    const int row = lbAssociated_->currentRow();
    const SoundEventList& list = selectedEvent();
    if (row >= 0 && row < list.count) sounds_.playFile(list.files[std::size_t(row)]);
}

void TfmSound::bnDefaultClick() {
    const int row = std::clamp(lbEvents_->currentRow(), 0, kSoundEventCount - 1);
    selectedEvent() = defaultEventSounds()[std::size_t(row)];
    fillAssociated(0);
}

void TfmSound::bnSelFileClick() {
    const QString current = edMusicFile_->text();
    QString start = TSounds::musicFolder();
    if (current.contains('/')) start = QFileInfo(current).absolutePath();
    const QString file = openFileDialog(QStringLiteral("Select Music File"),
                                        QStringLiteral("Music Files (*.mid);;All Files (*)"),
                                        QStringLiteral("mid"), start);
    if (file.isEmpty()) return;
    // Names keep their case: this file system tells "Song.mid" from "song.mid".
    edMusicFile_->setText(file);
    rbSingleFile_->setChecked(true);
}

void TfmSound::bnSelDirClick() {
    const QString folder =
        openFolderDialog(QStringLiteral("Select Jukebox folder"), edJukeboxFolder_->text());
    if (folder.isEmpty()) return;
    edJukeboxFolder_->setText(folder);
    rbJukebox_->setChecked(true);
}

void TfmSound::bnOKClick() {
    writeSoundSettings(settings_, chosen(), sounds_.eventSounds);
    sounds_.musicPosition = -1;
    accept();
}

void TfmSound::reject() {
    // Cancel, Escape and the close box all come here: nothing the dialog changed may stay.
    sounds_.eventSounds = openingSounds_;
    QDialog::reject();
}

bool TfmSound::eventFilter(QObject* watched, QEvent* event) {
    // Delete and Insert act on the list as "&Remove" and "&Add..." do, when those may be used.
    if (watched == lbAssociated_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Delete) {
            if (bnRemove_->isEnabled()) bnRemoveClick();
            return true;
        }
        if (key == Qt::Key_Insert) {
            if (bnAdd_->isEnabled()) bnAddClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace velnora::ui
