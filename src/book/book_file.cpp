#include "book/book_file.h"

#include "book/big_endian.h"
#include "book/book_lock.h"
#include "book/book_recovery.h"
#include "book/message_text.h"
#include "platform/checked_write.h"
#include "platform/file_ops.h"
#include "platform/shift_jis.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <sys/stat.h>

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

Outcome save_failure(const QString &reason, bool had_file)
{
    return Outcome::failure(save_failed_message(),
                            had_file ? reason + QStringLiteral("元のファイルはそのままです。") : reason);
}

Outcome save_failure(int error, bool had_file)
{
    return save_failure(write_error_reason(error), had_file);
}

BookReadResult parse_book(const QByteArray &data, const QString &path)
{
    return BookParser(data, path).run();
}

BookReadResult read_data(const QString &path)
{
    BookReadResult failed;
    // A save in place that was cut off: the reader must not take the torn bytes for a book.
    if (book_is_torn(path)) {
        failed.outcome = Outcome::failure(torn_book_message(path));
        return failed;
    }
    const QString shown = escape_controls(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        failed.outcome = Outcome::failure(shown + QStringLiteral("が読めません。"));
        return failed;
    }
    // Mapped rather than read: only the bytes the reader looks at are loaded, however
    // large the file (bytes after the last entry are never read).
    const qint64 size = file.size();
    uchar *mapped = size > 0 ? file.map(0, size) : nullptr;
    const QByteArray data =
        mapped ? QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), size) : file.readAll();
    BookReadResult result = parse_book(data, shown);
    result.stamp = stamp_of(path, data);
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

namespace {

// The backup copy of the old book in the temporary folder. Written under a name of its own and
// renamed, so saves of books of one name never meet; a failed save removes it only while it
// is still its own.
class BackupCopy {
public:
    FileWrite make(const QString &book, const QByteArray &old_bytes)
    {
        path_ = get_tempfile(book);
        if (is_same_file(book, path_)) {
            path_.clear(); // the book lives in the temporary folder: it is its own backup
            return FileWrite::done();
        }
        const FileWrite written = replace_file(path_, old_bytes);
        if (!written.ok || ::stat(QFile::encodeName(path_).constData(), &made_) != 0)
            path_.clear();
        return written;
    }
    void drop()
    {
        struct stat now {};
        if (!path_.isEmpty() && ::stat(QFile::encodeName(path_).constData(), &now) == 0 &&
            now.st_dev == made_.st_dev && now.st_ino == made_.st_ino)
            QFile::remove(path_);
    }

private:
    QString path_;
    struct stat made_ {};
};

// In place there is no new file to fall back on: the old bytes go to a recovery copy first,
// and come back from memory when the rewrite fails.
Outcome rewrite_in_place(const QString &path, const QByteArray &old_bytes, const QByteArray &bytes,
                         const ReplaceCheck &check)
{
    if (check && !check())
        return Outcome::refused(Outcome::Refusal::changed, book_changed_message(path));
    if (const Outcome kept = keep_recovery(path, old_bytes, bytes); !kept.ok)
        return save_failure(kept.detail);
    const FileWrite written = overwrite_file(path, bytes);
    if (written.ok) {
        drop_recovery(path);
        return Outcome::success();
    }
    if (overwrite_file(path, old_bytes).ok) {
        drop_recovery(path);
        return save_failure(written.error);
    }
    return Outcome::failure(
        save_failed_message(),
        write_error_reason(written.error) +
            QStringLiteral("元のファイルを戻せませんでした。保存前の内容は%1に残っています。")
                .arg(escape_controls(recovery_path(path))));
}

} // namespace

Outcome write_data(const TicketBook &book, const QString &path, ReplaceStep replace,
                   const ReplaceCheck &check, FileStamp *written)
{
    const QByteArray bytes = serialize_book(book);
    const QFileInfo info(path);
    // Whatever the book holds in memory, never store a file that cannot be opened again.
    if (!parse_book(bytes, path).outcome.ok)
        return save_failure(QStringLiteral("保存すると読み込めない内容になるため、書き込みませんでした。"),
                            info.exists());
    if (info.isDir())
        return save_failure(EISDIR, false);
    const bool exists = info.exists();
    if (is_read_only_file(path))
        return save_failure(EACCES);
    QByteArray old_bytes;
    BackupCopy backup;
    if (exists) {
        int error = 0;
        if (!read_whole_file(path, old_bytes, &error))
            return save_failure(error);
        if (const FileWrite copied = backup.make(path, old_bytes); !copied.ok)
            return save_failure(QStringLiteral("一時フォルダーに控えを作れません。") +
                                write_error_reason(copied.error));
    }
    Outcome saved = Outcome::success();
    if (!exists || !has_other_links(path)) {
        const FileWrite replaced = replace(path, bytes, check);
        if (!replaced.ok && replaced.error == kWriteFileChanged)
            saved = Outcome::refused(Outcome::Refusal::changed, book_changed_message(path));
        else if (!replaced.ok && (!replaced.refused_here || !exists))
            saved = save_failure(replaced.error, exists);
        else if (!replaced.ok)
            saved = rewrite_in_place(path, old_bytes, bytes, check);
    } else {
        saved = rewrite_in_place(path, old_bytes, bytes, check);
    }
    if (!saved.ok)
        backup.drop();
    else if (written)
        *written = stamp_of(path, bytes);
    return saved;
}

bool is_book_file(const QString &path)
{
    return file_starts_with(path, QByteArrayLiteral("YRM"));
}

Outcome refuse_export_onto_book(const QString &target, const QString &book_path)
{
    if (book_path.isEmpty() || !is_same_file(target, book_path))
        return Outcome::success();
    return Outcome::failure(
        QStringLiteral("「%1」は開いているｙｏｒｉｍｏのデータのファイルです。ここには書き出せません。")
            .arg(escape_controls(file_name_of(target))));
}

QString replaces_book_question(const QString &target)
{
    return QStringLiteral(
               "「%1」はｙｏｒｉｍｏのデータです。置き換えるとそのデータは失われます。置き換えますか？")
        .arg(escape_controls(file_name_of(target)));
}
