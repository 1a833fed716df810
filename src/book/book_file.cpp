#include "book/book_file.h"

#include "book/big_endian.h"
#include "platform/file_ops.h"
#include "platform/shift_jis.h"

#include <QFile>
#include <QSaveFile>

namespace {

constexpr uint32_t kMax16 = 0x7FFF; // 16-bit fields of the book are signed
constexpr uint32_t kMax32 = 0x7FFFFFFF;

QString abnormal_message(const QString &path)
{
    return path + QStringLiteral("は異常です。");
}

// Mark bits of a match multi in the file: home, away, draw; in memory home, draw, away.
constexpr int kMatchMarkBit[3] = {0x01, 0x04, 0x02};

int mark_bit(LotteryKind kind, int mark)
{
    return is_match_kind(kind) ? kMatchMarkBit[mark] : 1 << mark;
}

// Grades whose prize the file stores when the state is "entered". Goal kinds always
// store two, totoGOAL2 included.
std::vector<int> stored_prize_grades(const RoundEntry &entry)
{
    if (!is_match_kind(entry.kind))
        return {1, 2};
    std::vector<int> grades;
    for (int g = 1; g <= 6; ++g)
        if (grade_exists(entry, g))
            grades.push_back(g);
    return grades;
}

// How the grade flags of match kinds are stored by each format version.
enum class GradeFlags { none_all_grade3, one_byte_each, two_bytes_each, current };

GradeFlags grade_flags_layout(int format_version)
{
    if (format_version <= 120)
        return GradeFlags::none_all_grade3;
    if (format_version <= 149)
        return GradeFlags::one_byte_each;
    if (format_version <= 159)
        return GradeFlags::two_bytes_each;
    return GradeFlags::current;
}

class BookParser {
public:
    BookParser(const QByteArray &data, const QString &path) : in_(data), path_(path) {}

    BookReadResult run()
    {
        BookReadResult result;
        result.outcome = parse(result.book);
        return result;
    }

private:
    Outcome abnormal() const { return Outcome::failure(abnormal_message(path_)); }

    Outcome parse(TicketBook &book)
    {
        QByteArrayView magic;
        if (!in_.bytes(3, magic) || magic != QByteArrayView("YRM"))
            return Outcome::failure(path_ + QStringLiteral("はｙｏｒｉｍｏのデータではありません！"));
        uint32_t required = 0;
        uint32_t count = 0;
        if (!in_.u16(version_) || !in_.u16(required) || version_ > kMax16 || required > kMax16)
            return abnormal();
        if (version_ > static_cast<uint32_t>(kFormatVersion)) {
            return Outcome::failure(path_ + QStringLiteral("はこのプログラムでは読めません。\n") +
                                    QStringLiteral("プログラムバージョン") +
                                    QString::number(required / 100.0, 'f', 2) +
                                    QStringLiteral("以降を御使用ください。"));
        }
        if (!in_.u16(count) || count > kMax16)
            return abnormal();
        book.entries.reserve(count);
        for (uint32_t i = 0; i < count; ++i) {
            book.entries.emplace_back();
            if (Outcome o = read_entry(book, static_cast<int>(i)); !o.ok)
                return o;
        }
        return Outcome::success();
    }

    bool text(BookText &out)
    {
        uint32_t length = 0;
        QByteArrayView bytes;
        // A string is exactly its bytes: one ending inside a double-byte character is broken.
        if (!in_.u8(length) || length > kMaxTextBytes || !in_.bytes(static_cast<int>(length), bytes) ||
            shift_jis::ends_in_lead_byte(bytes))
            return false;
        out = bytes;
        return true;
    }

    Outcome read_entry(TicketBook &book, int index)
    {
        RoundEntry &e = book.entries.back();
        if (!text(e.kai))
            return abnormal();
        if (version_ != 100) {
            uint32_t code = 0;
            if (!in_.u8(code) || !is_valid_kind_code(static_cast<int>(code)))
                return abnormal();
            e.kind = kind_from_code(static_cast<int>(code));
        }
        const bool match = is_match_kind(e.kind);
        const auto n = static_cast<size_t>(slot_count(e.kind));
        for (size_t s = 0; s < n; ++s) {
            const bool ok =
                match ? text(e.matches[s].home) && text(e.matches[s].away) : text(e.teams[s].team);
            if (!ok)
                return abnormal();
        }
        if (match && !read_grade_flags(e))
            return abnormal();
        if (Outcome o = read_purchases(book, index); !o.ok)
            return o;
        // `e` stays valid: entries were reserved to their final count.
        const uint32_t max_result = match ? kCancelled : kScoreCancelled;
        for (size_t s = 0; s < n; ++s) {
            uint32_t r = 0;
            if (!in_.u8(r) || r > max_result)
                return abnormal();
            (match ? e.matches[s].result : e.teams[s].score) = static_cast<int>(r);
        }
        uint32_t state = 0;
        if (!in_.u8(state) || state > kPrizeRefund)
            return abnormal();
        e.state = static_cast<int>(state);
        if (e.state == kPrizeEntered) {
            for (int g : stored_prize_grades(e)) {
                if (g == 6 && version_ == 160)
                    continue; // format 1.60 had the flag but not the prize
                uint32_t prize = 0;
                if (!in_.u32(prize) || prize > kMax32)
                    return abnormal();
                const int64_t cap = prize_cap(e.kind);
                if (cap != 0 && prize > cap)
                    return abnormal();
                e.prizes[static_cast<size_t>(g - 1)] = prize;
            }
        }
        return Outcome::success();
    }

    bool read_grade_flags(RoundEntry &e)
    {
        uint32_t a = 0;
        uint32_t b = 0;
        switch (grade_flags_layout(static_cast<int>(version_))) {
        case GradeFlags::none_all_grade3: e.has_grade3 = true; return true;
        case GradeFlags::one_byte_each:
            if (!in_.u8(a))
                return false;
            e.has_grade3 = a == 1;
            return true;
        case GradeFlags::two_bytes_each:
            if (!in_.u8(a) || !in_.u8(b))
                return false;
            e.has_grade3 = a == 1;
            e.has_grade5 = b == 1;
            return true;
        case GradeFlags::current:
            if (e.kind == LotteryKind::toto) {
                if (!in_.u8(a))
                    return false;
                e.has_grade3 = a == 1;
            } else if (e.kind == LotteryKind::BIG) {
                if (!in_.u8(a))
                    return false;
                e.has_grade5 = (a & 1) != 0;
                e.has_grade6 = (a & 2) != 0;
            }
            return true;
        }
        return false;
    }

    // Reads the purchase list into the pools, keeping the chain's tail at hand so a long
    // chain is linked in linear time.
    Outcome read_purchases(TicketBook &book, int index)
    {
        RoundEntry &e = book.entries[static_cast<size_t>(index)];
        const int n = slot_count(e.kind);
        auto &singles = book.single_pool(e.kind);
        auto &multis = book.multi_pool(e.kind);
        ChainAppender chain(book, index);
        uint32_t type = 0;
        if (!in_.u8(type))
            return abnormal();
        while (type == kSingle || type == kMulti) {
            if (type == kSingle) {
                if (static_cast<int>(singles.size()) >= kMaxRecords)
                    return Outcome::failure(out_of_memory_message());
                SinglePurchase p;
                for (int s = 0; s < n; ++s) {
                    uint32_t pick = 0;
                    if (!in_.u8(pick) || pick > 3)
                        return abnormal();
                    p.picks[static_cast<size_t>(s)] = static_cast<uint8_t>(pick);
                }
                singles.push_back(p);
                chain.append(kSingle, static_cast<int>(singles.size()) - 1);
                e.tickets += 1;
            } else {
                // The grading has no rule for multis on BIG-family rounds.
                if (is_big_family(e.kind))
                    return abnormal();
                if (static_cast<int>(multis.size()) >= kMaxRecords)
                    return Outcome::failure(out_of_memory_message());
                MultiPurchase p;
                const int width = marks_per_slot(e.kind);
                const uint32_t all = (1u << width) - 1;
                for (int s = 0; s < n; ++s) {
                    uint32_t bits = 0;
                    if (!in_.u8(bits))
                        return abnormal();
                    int marks = 0;
                    for (int m = 0; m < width; ++m) {
                        const bool set = (bits & static_cast<uint32_t>(mark_bit(e.kind, m))) != 0;
                        p.marks[static_cast<size_t>(s)][static_cast<size_t>(m)] = set;
                        marks += set ? 1 : 0;
                    }
                    // No mark, or all four goal counts (which the combination count ignores).
                    if (marks == 0 || (width == 4 && (bits & all) == all))
                        return abnormal();
                }
                count_multi(p, e.kind);
                p.marked = 0; // only the multi dialog keeps this
                multis.push_back(p);
                chain.append(kMulti, static_cast<int>(multis.size()) - 1);
                e.tickets += p.combos;
            }
            if (!in_.u8(type))
                return abnormal();
        }
        return Outcome::success();
    }

    BigEndianReader in_;
    QString path_;
    uint32_t version_ = 0;
};

void write_text(BigEndianWriter &out, const BookText &text)
{
    out.u8(static_cast<uint32_t>(text.size()));
    out.bytes(text.bytes());
}

void write_entry(BigEndianWriter &out, const TicketBook &book, int index)
{
    const RoundEntry &e = book.entries[static_cast<size_t>(index)];
    const bool match = is_match_kind(e.kind);
    const auto n = static_cast<size_t>(slot_count(e.kind));
    write_text(out, e.kai);
    out.u8(static_cast<uint32_t>(kind_code(e.kind)));
    for (size_t s = 0; s < n; ++s) {
        if (match) {
            write_text(out, e.matches[s].home);
            write_text(out, e.matches[s].away);
        } else {
            write_text(out, e.teams[s].team);
        }
    }
    if (e.kind == LotteryKind::toto)
        out.u8(e.has_grade3 ? 1 : 0);
    else if (e.kind == LotteryKind::BIG)
        out.u8((e.has_grade5 ? 1 : 0) | (e.has_grade6 ? 2 : 0));
    const auto &singles = book.single_pool(e.kind);
    const auto &multis = book.multi_pool(e.kind);
    book.for_each_purchase(index, [&](int type, int at) {
        if (type == kSingle) {
            out.u8(kSingle);
            for (size_t s = 0; s < n; ++s)
                out.u8(singles[static_cast<size_t>(at)].picks[s]);
        } else {
            out.u8(kMulti);
            const MultiPurchase &m = multis[static_cast<size_t>(at)];
            for (size_t s = 0; s < n; ++s) {
                uint32_t bits = 0;
                for (int k = 0; k < marks_per_slot(e.kind); ++k)
                    if (m.marks[s][static_cast<size_t>(k)])
                        bits |= static_cast<uint32_t>(mark_bit(e.kind, k));
                out.u8(bits);
            }
        }
    });
    out.u8(kNoPurchase);
    for (size_t s = 0; s < n; ++s)
        out.u8(static_cast<uint32_t>(e.slot_result(static_cast<int>(s))));
    out.u8(static_cast<uint32_t>(e.state));
    if (e.state == kPrizeEntered)
        for (int g : stored_prize_grades(e))
            out.u32(static_cast<uint32_t>(e.prizes[static_cast<size_t>(g - 1)]));
}

} // namespace

QString save_failed_message()
{
    return QStringLiteral("ファイル作成に失敗しました。");
}

BookReadResult parse_book(const QByteArray &data, const QString &path)
{
    return BookParser(data, path).run();
}

BookReadResult read_data(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        BookReadResult failed;
        failed.outcome = Outcome::failure(path + QStringLiteral("が読めません。"));
        return failed;
    }
    // Mapped rather than read: only the bytes the reader looks at are loaded, however
    // large the file (bytes after the last entry are never read).
    const qint64 size = file.size();
    uchar *mapped = size > 0 ? file.map(0, size) : nullptr;
    const QByteArray data =
        mapped ? QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), size) : file.readAll();
    BookReadResult result = parse_book(data, path);
    file.close();
    return result;
}

QByteArray serialize_book(const TicketBook &book)
{
    BigEndianWriter out;
    out.bytes("YRM");
    out.u16(kFormatVersion);
    out.u16(kRequiredVersion);
    out.u16(static_cast<uint32_t>(book.entry_count()));
    for (int i = 0; i < book.entry_count(); ++i)
        write_entry(out, book, i);
    return out.data();
}

bool write_all(QIODevice &device, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const qint64 n = device.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

QString get_tempfile(const QString &path)
{
    QString folder = temp_folder();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder + file_name_of(path);
}

QString file_name_of(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.mid(slash + 1);
}

ReplaceResult replace_atomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return ReplaceResult::no_temporary_file;
    return write_all(file, bytes) && file.commit() ? ReplaceResult::replaced : ReplaceResult::failed;
}

namespace {

bool rewrite_in_place(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && write_all(file, bytes) && file.flush();
}

} // namespace

Outcome write_data(const TicketBook &book, const QString &path, ReplaceStep replace)
{
    const Outcome failed = Outcome::failure(save_failed_message());
    const QByteArray bytes = serialize_book(book);
    // Whatever the book holds in memory, never store a file that cannot be opened again.
    if (!parse_book(bytes, path).outcome.ok)
        return failed;

    const QString backup = get_tempfile(path);
    bool backed_up = false;
    if (QFile::exists(path) && !same_file(path, backup)) {
        if (!copy_file_overwrite(path, backup))
            return failed;
        backed_up = true;
    }
    auto fail = [&] {
        if (backed_up)
            delete_file_forced(backup);
        return failed;
    };
    if (is_read_only_file(path))
        return fail();
    if (!has_other_links(path)) {
        const ReplaceResult replaced = replace(path, bytes);
        if (replaced == ReplaceResult::replaced)
            return Outcome::success();
        if (replaced == ReplaceResult::failed || !QFile::exists(path))
            return fail();
    }
    // In place there is no old file to fall back on but the backup copy.
    if (rewrite_in_place(path, bytes))
        return Outcome::success();
    if (!backed_up)
        return failed;
    QFile old(backup);
    if (old.open(QIODevice::ReadOnly) && rewrite_in_place(path, old.readAll()))
        return fail();
    return failed; // the backup copy stays: it is the only whole old book left
}
