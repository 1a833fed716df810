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
