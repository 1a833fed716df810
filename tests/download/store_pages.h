#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// Pages in the form of the operator's web store and of the team-name list, written for our
// tests: nested tables, attributes, spans, line breaks, lower- and upper-case tags.
namespace store_pages {

using Pair = std::pair<QString, QString>;

// Lines of a monthly schedule script naming these round numbers (as written, e.g. "0012").
QString schedule_script(const QStringList &rounds);

// A toto round info page: sale dates, and per kind a section cell and its pairing table.
struct KindSection {
    QString page_name;
    std::vector<Pair> matches; // match kinds: home, away
    QStringList teams;         // goal kinds, one row per team (predicted-team layout)
};
QString toto_info_page(const QString &round, const QString &start, const QString &end,
                       const std::vector<KindSection> &kinds);
// A BIG round info page (sale dates and the kinds sold) and a BIG-family match page.
QString big_info_page(const QString &round, const QString &start, const QString &end,
                      const QStringList &kinds);
QString big_match_page(const QString &round, const QString &kind, const std::vector<Pair> &matches);

// The result index: the current year, links to other years, and the current year's rounds.
QString result_index(const QString &year, const QStringList &other_years, const QStringList &rounds);

// A round's result page for one match kind: pairings with results ("1", "0", "2", "中止",
// "102"), then the prize cells (toto family: one row under 1等…; BIG family: grade rows).
struct ResultRow {
    QString home, away, result;
};
QString match_result_page(const QString &round, const QString &kind, bool big,
                          const std::vector<ResultRow> &rows, const QStringList &prizes);
// A goal kind's result page: team, score text ("0".."3", "中止", "0123"), then 1等 (2等).
QString goal_result_page(const QString &round, const QString &kind, const std::vector<Pair> &teams,
                         const QStringList &prizes);

// A team-name list document.
QString team_list(const QString &date, const QString &time, const std::vector<Pair> &rows);

} // namespace store_pages
