#pragma once

#include <QString>

// How an operation on the book ended: success, or the message the user is to be shown and,
// where there is one, the reason beneath it (a message box's informative text; the
// command-line tool's bracketed rest of the line).
struct [[nodiscard]] Outcome {
    // Why a save of a book wrote nothing, where the caller decides what follows.
    enum class Refusal {
        none,
        busy,    // another writer held the book's lock for the whole wait
        changed, // the file changed on disk after it was read
    };

    bool ok = true;
    QString message;
    QString detail;
    Refusal refusal = Refusal::none;

    static Outcome success() { return {}; }
    static Outcome failure(QString text, QString reason = QString())
    {
        return {false, std::move(text), std::move(reason)};
    }
    static Outcome refused(Refusal why, QString text) { return {false, std::move(text), QString(), why}; }
    // The message and its reason as one line.
    QString line() const { return detail.isEmpty() ? message : message + u'（' + detail + u'）'; }
};

// Shown wherever the book cannot grow any further.
inline QString out_of_memory_message()
{
    return QStringLiteral("メモリが足りません。");
}
