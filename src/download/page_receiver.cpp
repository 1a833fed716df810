#include "download/page_receiver.h"

#include "download/tag_scanner.h"

std::optional<QString> PageReceiver::finish()
{
    std::optional<QString> text = decode_utf8(bytes_);
    bytes_.clear();
    return text;
}
