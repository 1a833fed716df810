#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

inline constexpr int kMaxTextBytes = 10;

// A text of the book (round label or team name): at most 10 bytes of Shift-JIS, held
// inline so a book of many rounds needs no allocation per text and can never hold a
// text its file format cannot store.
class BookText {
public:
    BookText() = default;
    // Longer input is cut at the last whole character within 10 bytes; callers that take
    // user input hold it to 10 bytes first (the text boxes do).
    BookText(QByteArrayView shift_jis) { assign(shift_jis); }
    BookText(const QByteArray &shift_jis) { assign(shift_jis); }
    BookText(const char *shift_jis) { assign(QByteArrayView(shift_jis)); }

    QByteArray bytes() const { return QByteArray(data_.data(), size_); }
    // The bytes in place, valid while the text lives; for reading many texts without copies.
    QByteArrayView view() const { return QByteArrayView(data_.data(), size_); }
    QString text() const; // decoded
    int size() const { return size_; }
    bool empty() const { return size_ == 0; }

    bool operator==(const BookText &other) const
    {
        return size_ == other.size_ && std::equal(data_.begin(), data_.begin() + size_, other.data_.begin());
    }

private:
    void assign(QByteArrayView shift_jis);

    std::array<char, kMaxTextBytes> data_{};
    uint8_t size_ = 0;
};

// A name as the book keeps it (Shift-JIS), from a page or a text box; fitting it to the
// book's ten bytes is the caller's business.
BookText book_text(const QString &text);
// The round number a label stands for (123, 0123 and " 123" alike); nothing without digits
// or with more than a round number could have.
std::optional<qint64> label_number(const QString &label);
