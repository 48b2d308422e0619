// Bytes as a formation file for the screensaver's item reader: it reads every item to the end and
// stops, and no item holds a line end; the number of items is at least the number of lines.
#include "document/itemreader.h"
#include "document/ksnerror.h"
#include "support/text/cp932.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    ksn::ItemReader reader(bytes);
    qsizetype items = 0;
    while (!reader.atEnd()) {
        const QString item = reader.readItem();
        if (item.contains(u'\r')) std::abort();
        if (++items > bytes.size() + 1) std::abort();  // every item uses up at least one byte or line end
    }
    if (items < ksn::cp932::splitLines(bytes).size()) std::abort();
    try {
        (void)reader.readItem();
        std::abort();  // past the end must be an error
    } catch (const ksn::KsnError&) {
    }
    return 0;
}
