#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>

// Reads big-endian values from a byte buffer; every read checks that the bytes are there.
class BigEndianReader {
public:
    explicit BigEndianReader(const QByteArray &data) : data_(data) {}

    bool u8(uint32_t &value) { return read(1, value); }
    bool u16(uint32_t &value) { return read(2, value); }
    bool u32(uint32_t &value) { return read(4, value); }

    bool bytes(int count, QByteArrayView &out)
    {
        if (count < 0 || remaining() < count)
            return false;
        out = QByteArrayView(data_.constData() + pos_, count);
        pos_ += count;
        return true;
    }

    qsizetype remaining() const { return data_.size() - pos_; }

private:
    bool read(int width, uint32_t &value)
    {
        if (remaining() < width)
            return false;
        value = 0;
        for (int i = 0; i < width; ++i)
            value = (value << 8) | static_cast<unsigned char>(data_[pos_ + i]);
        pos_ += width;
        return true;
    }

    const QByteArray &data_;
    qsizetype pos_ = 0;
};

// Appends big-endian values to a byte buffer.
class BigEndianWriter {
public:
    void u8(uint32_t v) { out_.append(static_cast<char>(v & 0xFF)); }
    void u16(uint32_t v)
    {
        u8(v >> 8);
        u8(v);
    }
    void u32(uint32_t v)
    {
        u16(v >> 16);
        u16(v);
    }
    void bytes(const QByteArray &b) { out_.append(b); }

    const QByteArray &data() const { return out_; }

private:
    QByteArray out_;
};
