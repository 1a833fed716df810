#pragma once

#include <QString>

// How an operation on the book ended: success, or the message the user is to be shown.
struct [[nodiscard]] Outcome {
    bool ok = true;
    QString message;

    static Outcome success() { return {}; }
    static Outcome failure(QString text) { return {false, std::move(text)}; }
};

// Shown wherever the book cannot grow any further.
inline QString out_of_memory_message()
{
    return QStringLiteral("メモリが足りません。");
}
