#pragma once

#include "book/ticket_book.h"
#include "download/download_step.h"

#include <QDate>
#include <QStringList>
#include <array>
#include <vector>

// Team names as a result page wrote them. The round keeps them cut to the book's 10 bytes;
// these let a name be looked up in the team-name table before it enters the book.
struct PageTeamNames {
    std::array<QString, kMaxMatchSlots> home;
    std::array<QString, kMaxMatchSlots> away;
    std::array<QString, kMaxTeamSlots> team;
};

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
    RoundEntry downloaded_round;
    PageTeamNames page_names; // of the last result page read
    int dialog_result = 0;
    // Set by a reader that wants the next page fetched (the chained round info pages).
    QString fetch_request;

    QDate today;
    QString store_url; // scheme://host[:port], no trailing slash

    // Shows the choices with their captions, first line selected, OK and back enabled.
    void show_choices();
};
