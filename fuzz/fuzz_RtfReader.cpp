// Feeds arbitrary bytes to the RTF reader: it must neither crash, hang nor
// grow without bound, and its result must stay within its limits.

#include "modules/RtfReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    const RtfReader::Document doc = RtfReader::parse(input);

    qsizetype characters = 0;
    for (const RtfReader::Paragraph &paragraph : doc.Paragraphs) {
        for (const RtfReader::Run &run : paragraph.Runs) {
            characters += run.Text.size();
            if (run.Format.HalfPoints < 1 || run.Format.HalfPoints > 1000)
                std::abort();
        }
    }
    if (characters + doc.Paragraphs.size() > RtfReader::MaxDocumentSize)
        std::abort();
    return 0;
}
