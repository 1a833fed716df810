// Feeds arbitrary bytes, as a received page, to every page reader of the downloads. Each
// must end without fault and within one pass over the page.
#include "download/page_readers.h"
#include "download/tag_scanner.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::optional<QString> text =
        decode_utf8(QByteArrayView(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    if (!text)
        return 0;
    TeamNames teams;
    teams.bundled = {{QStringLiteral("鹿島アントラーズ"), QStringLiteral("鹿島")}};
    for (int step = 0; step <= kLastStep + 1; ++step) {
        DownloadState st;
        st.step = step;
        st.store_url = QStringLiteral("http://127.0.0.1");
        st.today = QDate(2024, 1, 10);
        // The info-page reader needs the list its pages belong to.
        st.choices.resize(3);
        get_data(st, teams, *text);
    }
    return 0;
}
