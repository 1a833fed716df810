#pragma once

#include "download/download_state.h"
#include "download/team_names.h"

// The readers of the operator's pages and of the team-name list, one per step. Each takes
// the whole page text and returns true when it understood the page.

// Schedule download.
bool get_scedule_kai(DownloadState &st, const QString &text);                              // steps 0, 21
bool get_scedule_kai_detail(DownloadState &st, const QString &text);                       // steps 1, 22
bool get_scedule_kind(DownloadState &st, const QString &text);                             // steps 2, 23
bool get_scedule_data(DownloadState &st, const TeamNames &teams, const QString &text);     // 4..7, 25..28
bool get_goalscedule_data(DownloadState &st, const TeamNames &teams, const QString &text); // 8..10

// Result download.
bool get_result_year(DownloadState &st, const QString &text);     // steps 11, 29
bool get_result_kai(DownloadState &st, const QString &text);      // steps 12, 30
bool get_result_kind(DownloadState &st, const QString &text);     // steps 13, 31
bool get_result_data(DownloadState &st, const QString &text);     // 14..17, 32..35
bool get_goalresult_data(DownloadState &st, const QString &text); // 18..20

// Runs the reader of `st.step` on the page; steps without a reader reject every page.
bool get_data(DownloadState &st, TeamNames &teams, const QString &text);

// Addresses of the operator's pages.
QString schedule_script_url(const QString &store, QDate today, bool big);
QString round_info_url(const QString &store, const QString &number4, bool big);
QString big_match_page_url(const QString &store, const QString &number4, const QString &commodity);
QString result_index_url(const QString &store, bool big);
