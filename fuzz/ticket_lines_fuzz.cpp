// Reads arbitrary text as ticket lines of every kind; each ticket read, written as a line and
// read again, must give the same ticket, and every count must agree with what was kept.
#include "book/ticket_lines.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text =
        QString::fromUtf8(QByteArrayView(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    for (int k = 0; k < kKindCount; ++k) {
        const LotteryKind kind = kind_from_code(k);
        const ParsedTickets parsed = parse_ticket_lines(text, kind);
        if (parsed.purchases.size() != parsed.lines.size() ||
            (!parsed.too_many &&
             static_cast<int64_t>(parsed.purchases.size()) != parsed.singles + parsed.multis) ||
            parsed.error_lines < static_cast<int64_t>(parsed.errors.size()))
            std::abort();
        for (const NewPurchase &p : parsed.purchases) {
            const QString line = std::visit([&](const auto &t) { return ticket_line(t, kind); }, p);
            const ParsedTickets again = parse_ticket_lines(line, kind);
            if (!again.valid() || again.purchases.size() != 1 || again.purchases.front() != p)
                std::abort();
        }
    }
    return 0;
}
