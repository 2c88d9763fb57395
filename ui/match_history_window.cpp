#include "match_history_window.h"

#include "dialog_look.h"
#include "statistics.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace velnora::ui {

TfmMatchHistory::TfmMatchHistory(Settings& settings, QWidget* parent, Replay replay)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TfmMatchHistory"));
    setWindowTitle(QStringLiteral("Match History"));
    setFont(look::dialogFont());

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(look::kMargin, look::kMargin, look::kMargin, look::kMargin);
    outer->setSpacing(look::kMargin);

    auto* list = new QListWidget(this);
    list->setObjectName(QStringLiteral("lbHistory"));
    bool played = false;
    for (const std::string& line : loadMatchHistory(settings)) {
        list->addItem(QString::fromStdString(line));
        played = played || !line.empty();
    }
    if (!played) {
        list->clear();
        // An empty grid reads as a fault; say why there is nothing to show.
        auto* none = new QListWidgetItem(QStringLiteral("No matches have been played yet."), list);
        none->setFlags(Qt::NoItemFlags);
        none->setData(Qt::UserRole, QStringLiteral("placeholder"));
    }
    list->setMinimumSize(480, 300);
    outer->addWidget(list);

    auto* row = new QHBoxLayout;
    QPushButton* bnOK = look::button(this, QStringLiteral("bnOK"), QStringLiteral("&OK"));
    bnOK->setDefault(true);
    row->addStretch(1);
    if (replay && played) {
        const std::vector<std::string> records = loadMatchHistoryRecords(settings);
        QPushButton* bnReplay =
            look::button(this, QStringLiteral("bnReplay"), QStringLiteral("&Replay..."));
        bnReplay->setEnabled(false);
        row->addWidget(bnReplay);
        const auto selected = [list, records] {
            const int i = list->currentRow();
            return i >= 0 && i < static_cast<int>(records.size())
                       ? records[static_cast<std::size_t>(i)]
                       : std::string();
        };
        // Matches played before records were kept, or whose record is gone, have none.
        connect(list, &QListWidget::currentRowChanged, bnReplay,
                [bnReplay, selected] { bnReplay->setEnabled(!selected().empty()); });
        connect(bnReplay, &QPushButton::clicked, this,
                [this, replay, selected] { replay(this, selected()); });
        connect(list, &QListWidget::itemDoubleClicked, this, [this, replay, selected] {
            if (!selected().empty()) replay(this, selected());
        });
    }
    row->addWidget(bnOK);
    row->addStretch(1);
    outer->addLayout(row);
    connect(bnOK, &QPushButton::clicked, this, &QDialog::accept);
    // A dialog border: the list is the one thing to read, at one size.
    setFixedSize(sizeHint());
}

} // namespace velnora::ui
