#include "store_pages.h"

namespace store_pages {

namespace {

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

const QString kHead = s("<!DOCTYPE html>\r\n<html lang=\"ja\">\r\n<head><meta charset=\"UTF-8\">"
                        "<title>くじ情報 | スポーツくじオフィシャルサイト</title></head>\r\n<body>\r\n"
                        "<div id=\"wrapper\"><table class=\"layout\"><tr><td>\r\n");
const QString kTail = s("</td></tr></table></div>\r\n</body>\r\n</html>\r\n");

QString sale_table(const QString &start, const QString &end)
{
    return s("<table class=\"kaisai_info\" summary=\"販売期間\">\r\n"
             "<tr><th scope=\"row\">販売開始日</th>\r\n<td>") +
           start + s("（金）<br>10:00</td></tr>\r\n<tr><th scope=\"row\">販売終了日</th>\r\n<td>\r\n") + end +
           s("（土）</td></tr>\r\n</table>\r\n");
}

QString match_table(const std::vector<Pair> &matches)
{
    QString t =
        s("<table class=\"kumiawase\" border=\"0\" cellpadding=\"0\">\r\n"
          "<tr><th colspan=\"7\" class=\"cap\">対象試合</th></tr>\r\n"
          "<tr><th>No</th><th>開催日</th><th>時間</th><th colspan=\"3\">指定試合（ホームvsアウェイ）</th>"
          "<th>競技場</th></tr>\r\n");
    for (size_t i = 0; i < matches.size(); ++i) {
        t += s("<tr class=\"odd\">\r\n  <td class=\"no\">") + QString::number(i + 1) + s("</td>");
        // The date cell spans three rows; the rows below have no cell of their own there.
        if (i % 3 == 0)
            t += s("<td ROWSPAN=\"3\">01/13<br>(土)</td>");
        t += s("<td>14:00</td>\r\n  <td class=\"home\"><a href=\"/team?id=") + QString::number(i) + s("\">") +
             matches[i].first + s("</a></td><td>VS</td>\r\n  <td class=\"away\"><span>") + matches[i].second +
             s("</span></td><td>スタジアム</td>\r\n</tr>\r\n");
    }
    return t + s("</table>\r\n");
}

QString goal_table(const QStringList &teams)
{
    QString t = s("<table class=\"kumiawase\">\r\n<tr><th>No</th><th colspan=\"2\">予想チーム</th>"
                  "<th>開催日</th></tr>\r\n");
    for (qsizetype i = 0; i < teams.size(); ++i) {
        t += s("<tr><td>") + QString::number(i + 1) + s("</td><td>") +
             (i % 2 == 0 ? s("ホーム") : s("アウェイ")) + s("</td><td>") + teams[i] +
             s("</td><td>01/13</td></tr>\r\n");
    }
    return t + s("</table>\r\n");
}

} // namespace

QString schedule_script(const QStringList &rounds)
{
    QString js = s("// schedule\r\n");
    for (const QString &round : rounds) {
        js +=
            s("document.write(\"<li><a href='/dcs/subos/screen/pi01/spin000/PGSPIN00001DisptotoLotInfo.form?"
              "holdCntId=") +
            round + s("'><img src='/img/bnr.gif' alt='") + round + s("回 くじ情報'></a></li>\");\r\n");
    }
    return js;
}

QString toto_info_page(const QString &round, const QString &start, const QString &end,
                       const std::vector<KindSection> &kinds)
{
    QString page = kHead + sale_table(start, end);
    for (const KindSection &kind : kinds) {
        page += s("<table class=\"section\"><tr>\r\n<td class=\"ttl\"><span class=\"b\">第") + round +
                s("回</span> ") + kind.page_name + s(" くじ情報</td>\r\n</tr></table>\r\n");
        page += kind.teams.isEmpty() ? match_table(kind.matches) : goal_table(kind.teams);
    }
    return page + kTail;
}

QString big_info_page(const QString &round, const QString &start, const QString &end,
                      const QStringList &kinds)
{
    QString page = kHead + sale_table(start, end) + s("<table class=\"kinds\">\r\n");
    for (const QString &kind : kinds)
        page += s("<tr><th>第") + round + s("回　") + kind + s("　くじ情報</th></tr>\r\n");
    return page + s("</table>\r\n") + kTail;
}

QString big_match_page(const QString &round, const QString &kind, const std::vector<Pair> &matches)
{
    return kHead + s("<table><tr><td>第") + round + s("回　") + kind + s("　くじ情報</td></tr></table>\r\n") +
           match_table(matches) + kTail;
}

QString result_index(const QString &year, const QStringList &other_years, const QStringList &rounds)
{
    QString page = kHead + s("<div class=\"side\"><p class=\"ttl\">過去のくじ結果</p>\r\n<p>") + year +
                   s("</p>\r\n<ul>\r\n");
    for (const QString &other : other_years) {
        page += s("<li><a href=\"PGSPIN01101LnkYearResultLsttoto.form?year=") + other.left(4) + s("\">") +
                other + s("</a></li>\r\n");
    }
    page += s(
        "<li><a "
        "href=\"/help.html\">ヘルプ</a></li></ul></div>\r\n<table><tr><th>開催回</th><th>結果</th></tr>\r\n");
    for (const QString &round : rounds) {
        page +=
            s("<tr><td><a href=\"/dcs/subos/screen/pi04/spin011/PGSPIN01101LnkHoldCntLotResultLsttoto.form?"
              "holdCntId=") +
            round + s("\">第") + round + s("回(01/13)</a></td><td>確定</td></tr>\r\n");
    }
    return page + s("</table>\r\n") + kTail;
}

QString match_result_page(const QString &round, const QString &kind, bool big,
                          const std::vector<ResultRow> &rows, const QStringList &prizes)
{
    QString page = kHead + s("<table class=\"section\"><tr><td>第") + round + s("回 ") +
                   (big ? s("　") : QString()) + kind + s("　くじ結果</td></tr></table>\r\n");
    page += s(
        "<table class=\"result\">\r\n<tr><th rowspan=\"2\">No</th><th rowspan=\"2\">ホーム</th>"
        "<th colspan=\"3\">スコア</th><th rowspan=\"2\">アウェイ</th><th rowspan=\"2\">くじ結果</th></tr>\r\n"
        "<tr><th colspan=\"3\">試合結果</th></tr>\r\n");
    for (size_t i = 0; i < rows.size(); ++i) {
        page += s("<tr><td>") + QString::number(i + 1) + s("</td><td>") + rows[i].home +
                s("</td><td>1</td><td>-</td><td>0</td><td>") + rows[i].away + s("</td><td class=\"r\"><b>") +
                rows[i].result + s("</b></td></tr>\r\n");
    }
    page += s("</table>\r\n");
    if (!big) {
        page += s("<table class=\"prize\"><tr>");
        for (qsizetype g = 0; g < prizes.size(); ++g)
            page += s("<th>") + QString::number(g + 1) + s("等</th>");
        page += s("</tr>\r\n<tr>");
        for (const QString &prize : prizes)
            page += s("<td>") + prize + s("</td>");
        return page + s("</tr></table>\r\n") + kTail;
    }
    page += s("<table class=\"prize\">\r\n<tr><th>等級</th><th>当せん金</th><th>口数</th></tr>\r\n");
    for (qsizetype g = 0; g < prizes.size(); ++g) {
        page += s("<tr><td>") + QString::number(g + 1) + s("等</td><td>") + prizes[g] +
                s("</td><td>3口</td></tr>\r\n");
    }
    return page + s("</table>\r\n") + kTail;
}

QString goal_result_page(const QString &round, const QString &kind, const std::vector<Pair> &teams,
                         const QStringList &prizes)
{
    QString page = kHead + s("<table><tr><td>第") + round + s("回 ") + kind +
                   s("　くじ結果</td></tr></table>\r\n<table class=\"result\">\r\n<thead><tr><th>No</th>"
                     "<th>予想チーム</th><th>くじ結果</th></tr></thead>\r\n<tbody>\r\n");
    for (size_t i = 0; i < teams.size(); ++i) {
        page += s("<tr><td>") + QString::number(i + 1) + s("</td><td>") + teams[i].first + s("</td><td>") +
                teams[i].second + s("</td></tr>\r\n");
    }
    page += s("</tbody></table>\r\n<table class=\"prize\"><tr>");
    for (qsizetype g = 0; g < prizes.size(); ++g)
        page += s("<th>") + QString::number(g + 1) + s("等</th>");
    page += s("</tr><tr>");
    for (const QString &prize : prizes)
        page += s("<td>") + prize + s("</td>");
    return page + s("</tr></table>\r\n") + kTail;
}

QString team_list(const QString &date, const QString &time, const std::vector<Pair> &rows)
{
    QString doc = s("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<tototeam>\r\n  <update date=\"") + date +
                  s("\" time=\"") + time + s("\"/>\r\n  <item_list>\r\n");
    for (const Pair &row : rows) {
        doc += s("    <item>\r\n");
        if (!row.first.isEmpty())
            doc += s("      <long_name>") + row.first + s("</long_name>\r\n");
        if (!row.second.isEmpty())
            doc += s("      <short_name>") + row.second + s("</short_name>\r\n");
        doc += s("    </item>\r\n");
    }
    return doc + s("  </item_list>\r\n</tototeam>\r\n");
}

} // namespace store_pages
