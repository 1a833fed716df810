// Writes the sample book shipped in examples/: rounds of several kinds with singles and
// multis and results in every state. Run: yorimo-make-sample examples/sample.yrm
#include "book/book_file.h"
#include "platform/shift_jis.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

namespace {

// The sample is small; a refusal means the generator itself is wrong.
void must(const Outcome &outcome)
{
    if (!outcome.ok) {
        std::fprintf(stderr, "%s\n", outcome.message.toUtf8().constData());
        std::exit(1);
    }
}

const QStringList kTeams = {
    QStringLiteral("鹿島"),   QStringLiteral("浦和"),   QStringLiteral("柏"),     QStringLiteral("FC東京"),
    QStringLiteral("川崎Ｆ"), QStringLiteral("横浜FM"), QStringLiteral("湘南"),   QStringLiteral("新潟"),
    QStringLiteral("清水"),   QStringLiteral("磐田"),   QStringLiteral("名古屋"), QStringLiteral("Ｇ大阪"),
    QStringLiteral("Ｃ大阪"), QStringLiteral("神戸"),   QStringLiteral("広島"),   QStringLiteral("福岡"),
    QStringLiteral("鳥栖"),   QStringLiteral("札幌"),   QStringLiteral("仙台"),   QStringLiteral("京都"),
    QStringLiteral("町田"),   QStringLiteral("東京Ｖ"), QStringLiteral("長崎"),   QStringLiteral("甲府"),
    QStringLiteral("千葉"),   QStringLiteral("山形"),   QStringLiteral("岡山"),   QStringLiteral("徳島"),
};

// Deterministic numbers, so the sample is the same on every run.
int next(uint32_t &seed, int bound)
{
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 16) % static_cast<uint32_t>(bound));
}

struct Round {
    LotteryKind kind;
    const char *kai;
    int singles;
    int multis;
    int decided; // slots with a result, the rest stay open
    int state;
};

void fill_round(TicketBook &book, const Round &r, uint32_t &seed)
{
    RoundEntry e;
    e.kai = shift_jis::encode(QString::fromUtf8(r.kai));
    e.kind = r.kind;
    e.has_grade3 = r.kind == LotteryKind::toto;
    e.has_grade5 = e.has_grade6 = r.kind == LotteryKind::BIG;
    const int n = slot_count(r.kind);
    const bool match = is_match_kind(r.kind);
    const int offset = next(seed, 18);
    for (int s = 0; s < n; ++s) {
        if (match) {
            e.matches[s].home = shift_jis::encode(kTeams[2 * s]);
            e.matches[s].away = shift_jis::encode(kTeams[2 * s + 1]);
            e.matches[s].result = s < r.decided ? 1 + next(seed, 3) : 0;
        } else {
            e.teams[s].team = shift_jis::encode(kTeams[s + offset]);
            e.teams[s].score = s < r.decided ? 1 + next(seed, 4) : 0;
        }
    }
    if (r.decided > 0 && n > 3)
        (match ? e.matches[2].result : e.teams[2].score) = match ? kCancelled : kScoreCancelled;
    e.state = r.state;
    if (r.state == kPrizeEntered)
        for (int g = 0; g < 6; ++g)
            e.prizes[g] = (r.kind == LotteryKind::minitotoA ? 3'000 : 80'000'000) >> (4 * g);
    must(add_entry(book, e));
    const int index = book.entry_count() - 1;
    for (int i = 0; i < r.singles; ++i) {
        SinglePurchase p;
        for (int s = 0; s < n; ++s) {
            // Mostly the result, so the rounds win something.
            const int res = e.slot_result(s);
            const bool hit = res >= 1 && res <= (match ? 3 : 4) && next(seed, 5) != 0;
            p.picks[s] = static_cast<uint8_t>(hit ? (match ? res : res - 1)
                                                  : (match ? 1 + next(seed, 3) : next(seed, 4)));
        }
        must(add_single(book, index, p));
    }
    for (int i = 0; i < r.multis; ++i) {
        MultiPurchase m;
        for (int s = 0; s < n; ++s) {
            const int width = match ? 3 : 4;
            const int marks = s < 3 ? 1 + (s + i) % 3 : 1;
            const int start = next(seed, width);
            for (int k = 0; k < marks; ++k)
                m.marks[s][(start + k) % width] = true;
        }
        must(add_multi(book, index, m));
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: yorimo-make-sample OUT.yrm\n", stderr);
        return 2;
    }
    const Round rounds[] = {
        {LotteryKind::toto, "1201", 4, 2, 13, kPrizeEntered},
        {LotteryKind::minitotoA, "1201", 3, 1, 5, kPrizeEntered},
        {LotteryKind::minitotoB, "1201", 2, 0, 5, kPrizeUndecided},
        {LotteryKind::totoGOAL, "1202", 3, 1, 10, kPrizeEntered},
        {LotteryKind::BIG, "1203", 5, 0, 14, kPrizeEntered},
        {LotteryKind::BIG100, "1203", 3, 0, 7, kPrizeUndecided},
        {LotteryKind::toto5, "1204", 2, 1, 5, kPrizeRefund},
        {LotteryKind::totoGOAL3, "1204", 2, 1, 0, kPrizeUndecided},
        {LotteryKind::BIG1000, "1205", 2, 0, 11, kPrizeEntered},
        {LotteryKind::miniBIG, "1205", 0, 0, 0, kPrizeUndecided},
        {LotteryKind::totoGOAL2, "1206", 2, 1, 4, kPrizeEntered},
        {LotteryKind::toto, "1207", 3, 1, 6, kPrizeUndecided},
    };
    TicketBook book;
    uint32_t seed = 1;
    for (const Round &r : rounds)
        fill_round(book, r, seed);
    const Outcome saved = write_data(book, QString::fromLocal8Bit(argv[1]));
    if (!saved.ok) {
        std::fputs(saved.message.toUtf8().constData(), stderr);
        return 1;
    }
    return 0;
}
