#pragma once

#include "book/ticket_book.h"
#include "download/download_step.h"

#include <QDate>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

// A label or team name as a page wrote it. A result page's names can be longer than the
// book's 10 bytes; they are fitted only where they enter a new entry.
struct PageText {
    QString value;
    PageText() = default;
    PageText(QString text) : value(std::move(text)) {}
    const QString &text() const { return value; }
    bool operator==(const PageText &) const = default;
};

struct DownloadedMatch {
    PageText home;
    PageText away;
    int result = kResultNone;
    bool operator==(const DownloadedMatch &) const = default;
};

struct DownloadedTeam {
    PageText team;
    int score = kScoreNone;
    bool operator==(const DownloadedTeam &) const = default;
};

// The round the data readers fill: what a round of the book holds, with its texts as read.
struct DownloadedRound {
    PageText kai;
    LotteryKind kind = LotteryKind::toto;
    std::array<DownloadedMatch, kMaxMatchSlots> matches{};
    std::array<DownloadedTeam, kMaxTeamSlots> teams{};
    int state = kPrizeUndecided;
    bool has_grade3 = false;
    bool has_grade5 = false;
    bool has_grade6 = false;
    std::array<int64_t, 6> prizes{};
    bool operator==(const DownloadedRound &) const = default;
};

// The round as the book holds it: each text cut at a character within 10 bytes; no purchases.
RoundEntry book_round(const DownloadedRound &round);

// What the page readers work on: the choice list being built, the addresses of the walk and
// the round being downloaded. The session owns it and shows it through the dialog.
struct DownloadState {
    int step = 0;
    std::vector<ChoiceEntry> choices;
    QStringList lines; // the list as shown, one line per choice
    int selected = -1;
    bool ok_enabled = false;
    bool back_enabled = false;
    QString current_url;
    QString list_url;
    int detail_index = 0;
    DownloadedRound downloaded_round;
    DownloadOutcome outcome = DownloadOutcome::cancelled;
    // Set by a reader that wants the next page fetched (the chained round info pages).
    QString fetch_request;

    QDate today;
    QString store_url; // scheme://host[:port], no trailing slash

    // Shows the choices with their captions, first line selected, OK and back enabled.
    void show_choices();
    // Takes a reader's choices and shows them; false (and the list emptied) when it read none.
    bool show(std::optional<std::vector<ChoiceEntry>> read);
};
