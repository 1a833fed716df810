#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The biggest page accepted. The operator's pages are a few hundred kilobytes; anything
// past this is not a page of theirs and is rejected rather than held in memory.
inline constexpr qsizetype kMaxPageBytes = 4 * 1024 * 1024;

// One page on its way: its bytes gathered within kMaxPageBytes, then read as UTF-8 text. The
// download dialog's session and the batch receive their pages alike.
class PageReceiver {
public:
    void clear() { bytes_.clear(); }
    // False once the page passes the cap: it is no page of the store, and what came is dropped.
    bool take(const QByteArray &chunk)
    {
        if (bytes_.size() + chunk.size() > kMaxPageBytes) {
            bytes_.clear();
            return false;
        }
        bytes_.append(chunk);
        return true;
    }
    qsizetype size() const { return bytes_.size(); }
    // The page as text, nothing when it is not UTF-8; the receiver is empty again after.
    std::optional<QString> finish();

private:
    QByteArray bytes_;
};
