#include "platform/shift_jis.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace shift_jis {

namespace {
constexpr const char *kCodec = "windows-31j";
}

bool is_lead_byte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

QByteArray encode(const QString &text, bool *ok)
{
    QStringEncoder encoder(kCodec);
    QByteArray bytes = encoder.encode(text);
    if (ok)
        *ok = encoder.isValid() && !encoder.hasError();
    return bytes;
}

QString decode(const QByteArray &bytes)
{
    QStringDecoder decoder(kCodec);
    return decoder.decode(bytes);
}

int byte_length(const QString &text)
{
    return static_cast<int>(encode(text).size());
}

bool is_valid(QByteArrayView bytes)
{
    bool double_byte = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (is_lead_byte(byte)) {
            if (i + 1 == bytes.size())
                return false;
            const auto trail = static_cast<unsigned char>(bytes[++i]);
            if (trail < 0x40 || trail == 0x7F || trail > 0xFC)
                return false;
            double_byte = true;
        } else if (byte == 0x80 || byte == 0xA0 || byte >= 0xFD) {
            return false;
        }
    }
    if (!double_byte)
        return true;
    // A pair of the right shape may still be unassigned: the decoder knows.
    QStringDecoder decoder(kCodec, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError() && !text.contains(QChar::ReplacementCharacter);
}

bool ends_in_lead_byte(QByteArrayView bytes)
{
    qsizetype i = 0;
    while (i < bytes.size()) {
        if (is_lead_byte(static_cast<unsigned char>(bytes[i]))) {
            if (i + 1 == bytes.size())
                return true;
            i += 2;
        } else {
            ++i;
        }
    }
    return false;
}

} // namespace shift_jis
