// Feeds arbitrary bytes to the team-name list reader, twice over the same table (as a later
// download does), and maps a name through whatever table results.
#include "download/tag_scanner.h"
#include "download/team_names.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::optional<QString> text =
        decode_utf8(QByteArrayView(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    if (!text)
        return 0;
    TeamNames names;
    get_teamname(names.downloaded, *text);
    get_teamname(names.downloaded, *text);
    for (const TeamNameRow &row : names.downloaded.rows) {
        if (row.long_name.isEmpty() || row.short_name.isEmpty())
            std::abort();
        chg_team_name(names, row.long_name);
    }
    chg_team_name(names, text->left(40));
    return 0;
}
