// The page readers on hostile pages: how long one reading takes and how much memory the
// process has needed at most. Usage: page_readers_bench [SCALE], SCALE (default 1) divides
// the sizes (for a quick look at a slower build).
#include "best_ms.h"
#include "download/page_readers.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <sys/resource.h>

namespace {

long peak_rss_mb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

DownloadState state_at(int step)
{
    DownloadState st;
    st.step = step;
    st.store_url = QStringLiteral("http://127.0.0.1");
    st.today = QDate(2024, 1, 10);
    return st;
}

QString repeated(const QString &head, const QString &piece, qsizetype count, const QString &tail = {})
{
    QString page = head;
    page.reserve(head.size() + piece.size() * count + tail.size());
    for (qsizetype i = 0; i < count; ++i)
        page += piece;
    return page + tail;
}

void row(const char *what, const QString &page, const std::function<bool(const QString &)> &read)
{
    bool ok = false;
    const double ms = best_ms([&] { ok = read(page); }, 3);
    std::printf("%-58s %8.2f MB %10.1f ms  %s  peak RSS %ld MB\n", what,
                static_cast<double>(page.toUtf8().size()) / 1e6, ms, ok ? "read    " : "rejected",
                peak_rss_mb());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const qsizetype scale = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    auto rounds = [](const QString &page) {
        DownloadState st = state_at(kStepResultKai);
        return get_result_kai(st, page);
    };
    const QString kai = QStringLiteral("<p>開催回</p>");
    row("round list: 10,000 <a href=\"x\">第</a>, one \")\"",
        repeated(kai, QStringLiteral("<a href=\"x\">第</a>"), 10000 / scale, u")"_qs), rounds);
    row("round list: 100,000 <a href=\"x\">第</a>, one \")\"",
        repeated(kai, QStringLiteral("<a href=\"x\">第</a>"), 100000 / scale, u")"_qs), rounds);
    row("round list: 250,000 links without 第, one 第 at the end",
        repeated(kai, QStringLiteral("<a href=\"x\">x</a>"), 250000 / scale, u"第"_qs), rounds);

    auto schedule = [](const QString &page) {
        DownloadState st = state_at(kStepScheduleKai);
        return get_scedule_kai(st, page);
    };
    QString script;
    const int count = static_cast<int>(100000 / scale);
    for (int n = count; n > 0; --n)
        script += QStringLiteral("document.write(\"<img alt='%1回'>\");\n").arg(n);
    row("schedule script: 100,000 rounds in descending order", script, schedule);
    QString fifty;
    for (int n = 50; n > 0; --n)
        fifty += QStringLiteral("document.write(\"<img alt='%1回'>\");\n").arg(n);
    row("schedule script: 50 rounds in descending order", fifty, schedule);

    // Every reader on pages of the 4 MiB cap.
    TeamNames teams;
    auto every_reader = [&](const QString &page) {
        for (int step = 0; step <= kLastStep; ++step) {
            DownloadState st = state_at(step);
            st.choices.resize(3);
            get_data(st, teams, page);
        }
        return true;
    };
    const qsizetype cap = 4 * 1024 * 1024 / scale;
    row("every reader: 4 MiB of \"<a>第\"", repeated({}, QStringLiteral("<a>第"), cap / 6), every_reader);
    row("every reader: 4 MiB of \"&\"", repeated({}, QStringLiteral("&"), cap), every_reader);
    row("every reader: 4 MiB of \"<td rowspan=\"", repeated({}, QStringLiteral("<td rowspan="), cap / 12),
        every_reader);
    row("every reader: 4 MiB of \"<table><tr><td>第1回totoくじ情報</td>\"",
        repeated({}, QStringLiteral("<table><tr><td>第1回totoくじ情報</td>"), cap / 44), every_reader);
    row("every reader: 4 MiB of \"document.write alt='1回\"",
        repeated({}, QStringLiteral("\ndocument.write alt='1回"), cap / 30), every_reader);
    // PAGE_READERS_BENCH_FILE=page: each step's reader on that page, one by one.
    if (const QString path = qEnvironmentVariable("PAGE_READERS_BENCH_FILE"); !path.isEmpty()) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return 1;
        const QString page = QString::fromUtf8(file.readAll());
        for (int step = 0; step <= kLastStep; ++step) {
            const double ms = best_ms(
                [&] {
                    DownloadState st = state_at(step);
                    st.choices.resize(3);
                    get_data(st, teams, page);
                },
                1);
            std::printf("step %d: %.1f ms\n", step, ms);
        }
    }
    return 0;
}
