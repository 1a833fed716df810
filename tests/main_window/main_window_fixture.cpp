#include "main_window_fixture.h"

#include "results/winning_check.h"

#include <QApplication>
#include <QTimer>

TicketBook four_round_book()
{
    TicketBook book;

    RoundEntry toto = make_entry(LotteryKind::toto, "10");
    toto.has_grade3 = true;
    for (int s = 0; s < 13; ++s)
        toto.matches[s].result = kHomeWin;
    toto.state = kPrizeEntered;
    toto.prizes = {100000, 5000, 300, 0, 0, 0};
    EXPECT_TRUE(add_entry(book, toto).ok);
    EXPECT_TRUE(add_single(book, 0, make_single({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1})).ok);
    EXPECT_TRUE(add_single(book, 0, make_single({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 3})).ok);

    RoundEntry big = make_entry(LotteryKind::BIG, "20");
    big.has_grade6 = true;
    for (int s = 0; s < 14; ++s)
        big.matches[s].result = kHomeWin;
    big.state = kPrizeEntered;
    big.prizes = {300000000, 1000000, 50000, 5000, 0, 1000};
    EXPECT_TRUE(add_entry(book, big).ok);
    // Five misses: 6等. Four misses: losing, as the round has no 5等.
    EXPECT_TRUE(add_single(book, 1, make_single({2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1})).ok);
    EXPECT_TRUE(add_single(book, 1, make_single({3, 3, 3, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1})).ok);

    RoundEntry refund = make_entry(LotteryKind::BIG100, "30");
    refund.state = kPrizeRefund;
    EXPECT_TRUE(add_entry(book, refund).ok);
    for (int t = 0; t < 3; ++t)
        EXPECT_TRUE(add_single(book, 2, make_single({1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2})).ok);

    EXPECT_TRUE(add_entry(book, make_entry(LotteryKind::totoGOAL, "40")).ok);

    for (int i = 0; i < book.entry_count(); ++i)
        result_chk(book, i);
    return book;
}

namespace {

QStringList texts(std::initializer_list<const char *> utf8)
{
    QStringList list;
    for (const char *t : utf8)
        list << QString::fromUtf8(t);
    return list;
}

} // namespace

QStringList toto_row()
{
    return texts({"10", "toto", "2", "200", "1", "1", "0", "-", "-", "-", "0", "105,000"});
}

QStringList big_row()
{
    return texts({"20", "BIG", "2", "600", "0", "0", "0", "0", "-", "1", "1", "1,000"});
}

QStringList refund_row()
{
    return texts({"30", "100円BIG", "3", "300", "-", "-", "-", "-", "-", "-", "-", "300"});
}

QStringList goal_row()
{
    return texts({"40", "totoGOAL", "0", "0", "-", "-", "-", "-", "-", "-", "-", "-"});
}

bool with_dialog(const std::function<void()> &command, const std::function<void(QDialog *)> &drive)
{
    bool driven = false;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        driven = true;
        drive(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    timer.start(0);
    command();
    return driven;
}
