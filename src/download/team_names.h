#pragma once

#include <QString>
#include <compare>
#include <optional>
#include <vector>

// One row of a team-name list: the operator's full name and the book's short name.
struct TeamNameRow {
    QString long_name;
    QString short_name;

    bool operator==(const TeamNameRow &) const = default;
};

// Update stamp of a team-name list; year 0 = no list read yet.
struct TeamListStamp {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;

    auto operator<=>(const TeamListStamp &) const = default;
};

struct TeamNameTable {
    std::vector<TeamNameRow> rows;
    TeamListStamp stamp;
};

// True when the candidate list is to replace the one held.
bool is_newer_stamp(const TeamListStamp &held, const TeamListStamp &candidate);

// Reads a team-name list document into the table when its stamp is newer than the table's.
// False when the document is not understood (the rows read before the fault stay).
bool get_teamname(TeamNameTable &table, const QString &text);

// The longest prefix of the name within the book's 10 Shift-JIS bytes.
QString chg_team_name_size(const QString &name);

// The names the program knows: the table downloaded during this run, then the list shipped
// with the program.
struct TeamNames {
    TeamNameTable downloaded;
    std::vector<TeamNameRow> bundled;
};

// The short name the table gives a full name (the downloaded table first, then the shipped
// list), cut to the book's limit; nothing when neither lists the name.
std::optional<QString> find_short_name(const TeamNames &names, const QString &name);

// The short name the book keeps for a team name read from a schedule page.
QString chg_team_name(const TeamNames &names, const QString &name);

// The rows of the list shipped with the program (a document in the downloaded list's form);
// empty when the file is missing or not understood.
std::vector<TeamNameRow> read_bundled_team_names(const QString &path);
// Where the shipped list is: beside the program, else in the installed data folder.
QString bundled_team_names_path();
