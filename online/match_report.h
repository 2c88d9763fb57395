#pragma once
// "Send Result": the report of a finished network match as a mail message, handed to the
// desktop's mail program.
//
// Use:
//     MatchResultTexts texts{localName, "5010", "Ann's score:", "4200"};
//     sendMatchReport(gameOverDialog, texts);   // asks for the address; Cancel sends nothing

#include <QString>

class QWidget;

namespace velnora::online {

// The texts of the game-over dialog that the report repeats.
struct MatchResultTexts {
    QString localName;     // the name this copy announced to the partner
    QString playerTotal;   // the text of the player's total
    QString opponentLabel; // the opponent's caption, "<name>'s score:"
    QString opponentTotal; // the text of the opponent's total
};

// The message text; its line breaks are the literal text "%0D%0A".
QString matchReportBody(const MatchResultTexts& texts, const QString& timestamp);

// The mailto address with subject and body.
QString matchReportAddress(const QString& email, const QString& body);

// The current date and time in the locale's short formats.
QString reportTimestamp();

// Asks for the address to report to and opens the message in the mail program; Cancel ends the
// operation. True when a message was handed over.
bool sendMatchReport(QWidget* parent, const MatchResultTexts& texts);

} // namespace velnora::online
