#pragma once

#include "download/download_state.h"
#include "download/team_names.h"

#include <cstddef>
#include <optional>
#include <vector>

// The readers of the operator's pages and of the team-name list, one per step. Each takes
// the whole page text and returns true when it understood the page. The toto side and the
// BIG side read their pages alike; a toto-named reader reads the side its step belongs to.

// The most rounds a schedule script may list. A month's script lists about ten (two or
// three rounds a week); every listed round costs one info-page fetch before the list can
// be shown, so a script listing more is not one of the store's and is rejected: the chain
// of fetches stays at 50 pages at most.
inline constexpr std::size_t kMaxListedRounds = 50;

// Schedule download.
bool get_scedule_kai(DownloadState &st, const QString &text);                               // step 0
bool get_big_schedule_kai(DownloadState &st, const QString &text);                          // step 21
bool get_scedule_kai_detail(DownloadState &st, const QString &text);                        // step 1
bool get_big_schedule_kai_detail(DownloadState &st, const QString &text);                   // step 22
bool get_scedule_kind(DownloadState &st, const QString &text);                              // step 2
bool get_big_schedule_kind(DownloadState &st, const QString &text);                         // step 23
bool get_scedule_data(DownloadState &st, const TeamNames &teams, const QString &text);      // 4..7
bool get_big_schedule_data(DownloadState &st, const TeamNames &teams, const QString &text); // 25..28
bool get_goalscedule_data(DownloadState &st, const TeamNames &teams, const QString &text);  // 8..10

// Result download.
bool get_result_year(DownloadState &st, const QString &text);     // step 11
bool get_big_result_year(DownloadState &st, const QString &text); // step 29
bool get_result_kai(DownloadState &st, const QString &text);      // step 12
bool get_big_result_kai(DownloadState &st, const QString &text);  // step 30
bool get_result_kind(DownloadState &st, const QString &text);     // step 13
bool get_big_result_kind(DownloadState &st, const QString &text); // step 31
bool get_result_data(DownloadState &st, const QString &text);     // 14..17
bool get_big_result_data(DownloadState &st, const QString &text); // 32..35
bool get_goalresult_data(DownloadState &st, const QString &text); // 18..20

// The past-results pages as values, for whoever reads them (the dialog's steps above, the
// batch). Nothing when the page is not as the store writes it.
struct ListedPage {
    QString caption;
    QString url; // absolute
};
// The years an index page lists: this year first (its rounds are on the page itself: no
// url), then the older years' list pages.
std::optional<std::vector<ListedPage>> listed_years(const QString &store, const QString &text, bool big);
// The rounds a list page links to ("第1234回(01/13)").
std::optional<std::vector<ListedPage>> listed_rounds(const QString &store, const QString &text, bool big);
// The kinds a round page has results of.
std::optional<std::vector<LotteryKind>> listed_kinds(const QString &text, bool big);
// The round of `kind` on its round page: names, results and prizes as the page writes them,
// over `round` (the dialog's walk carries its round from page to page: what a page does not
// list stays).
std::optional<DownloadedRound> round_results(const QString &text, LotteryKind kind,
                                             DownloadedRound round = {});

// Runs the reader of `st.step` on the page; steps without a reader reject every page.
bool get_data(DownloadState &st, TeamNames &teams, const QString &text);

// Addresses of the operator's pages.
QString schedule_script_url(const QString &store, QDate today, bool big);
QString round_info_url(const QString &store, const QString &number4, bool big);
QString big_match_page_url(const QString &store, const QString &number4, const QString &commodity);
QString result_index_url(const QString &store, bool big);
