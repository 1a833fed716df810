#pragma once

#include <QString>

// How an operation on the book ended: success, or the message the user is to be shown and,
// where there is one, the reason beneath it (a message box's informative text; the
// command-line tool's bracketed rest of the line).
struct [[nodiscard]] Outcome {
    bool ok = true;
    QString message;
    QString detail;

    static Outcome success() { return {}; }
    static Outcome failure(QString text, QString reason = QString())
    {
        return {false, std::move(text), std::move(reason)};
    }
    // The message and its reason as one line.
    QString line() const { return detail.isEmpty() ? message : message + u'（' + detail + u'）'; }
};

// Shown wherever the book cannot grow any further.
inline QString out_of_memory_message()
{
    return QStringLiteral("メモリが足りません。");
}
