// 結果を一括更新 over loopback: a year's index listing N rounds and N round pages, a book of N
// open toto rounds. The figure per round shows whether the batch stays linear in the rounds.
#include "batch_rows.h"

#include "book/book_document.h"
#include "download/page_readers.h"
#include "download/result_batch.h"
#include "platform/http_fetcher.h"
#include "results/winning_check.h"
#include "store_pages.h"
#include "test_store.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

using namespace store_pages;

namespace {

QString q(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

void run_batch(int rounds)
{
    TestStore store;
    QStringList numbers;
    for (int r = 0; r < rounds; ++r)
        numbers << QString::number(5000 + r);
    store.set(result_index_url({}, false), result_index(q("2024年"), {q("2023年")}, numbers));
    std::vector<ResultRow> rows;
    for (int m = 0; m < 13; ++m)
        rows.push_back({q("鹿島アントラーズ"), q("浦和レッズ"), q(m % 2 ? "1" : "0")});
    TicketBook book;
    for (const QString &number : numbers) {
        store.set(
            q("/dcs/subos/screen/pi04/spin011/PGSPIN01101LnkHoldCntLotResultLsttoto.form?holdCntId=") +
                number,
            match_result_page(number, q("toto"), false, rows, {q("1,000,000円"), q("10,000円"), q("100円")}));
        RoundEntry e;
        e.kai = number.toLatin1();
        e.kind = LotteryKind::toto;
        (void)add_entry(book, e);
    }
    BookDocument document(result_chk);
    document.adopt(std::move(book));
    HttpFetcher fetcher;
    ResultBatch batch(fetcher, document.book(), DownloadAddresses{store.url(), store.url()});
    QElapsedTimer timer;
    timer.start();
    batch.start();
    while (batch.running())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double fetched = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    int found = 0;
    for (const BatchRound &round : batch.rounds())
        found += round.status == BatchRound::Status::found ? 1 : 0;
    timer.restart();
    const bool applied = document
                             .apply_updates(BookDocument::Source::batch,
                                            batch.updates(std::vector<bool>(batch.rounds().size(), true)))
                             .ok;
    const double apply = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    std::printf("result batch, %4d open rounds          %8.1f ms  %6.3f ms/round  %5lld requests  found %d  "
                "apply %s %.1f ms\n",
                rounds, fetched, fetched / rounds, static_cast<long long>(store.requests().size()), found,
                applied ? "ok" : "FAILED", apply);
}

} // namespace

void print_batch_rows()
{
    for (const int rounds : {250, 500, 1000})
        run_batch(rounds);
}
