// libFuzzer target for the quick view's content checks: text detection and
// line count, the WAV header and the hex dump, on any bytes and any name.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "preview/Content.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The first byte picks the name the bytes come under.
    static const char* const names[] = {"a.tbl", "b.TGA", "c.wav", "d"};
    const std::string name = size ? names[data[0] & 3] : "";
    const preview::Kind kind = preview::Classify(name, data, size);

    const size_t lines = preview::CountLines(data, size);
    if (lines > size) std::abort();
    if (kind == preview::Kind::text) {
        if (!preview::IsText(data, size)) std::abort();
        // Each line ends in CR LF but the last: as many breaks as lines, less one.
        const std::string text = preview::TextWithCrLf(data, size);
        size_t breaks = 0;
        for (size_t i = 0; i + 1 < text.size(); ++i) breaks += text[i] == '\r' && text[i + 1] == '\n';
        if (lines && breaks != lines - 1 && breaks != lines) std::abort();
    }
    preview::WavInfo wav;
    if (preview::ParseWav(data, size, wav) && (wav.channels == 0 || wav.sampleRate == 0)) std::abort();

    const std::string dump = preview::HexDump(data, size);
    const size_t shown = size < preview::kHexDumpBytes ? size : preview::kHexDumpBytes;
    if (dump.size() > (shown + 15) / 16 * 80) {
        std::fprintf(stderr, "dump of %zu bytes is %zu long\n", shown, dump.size());
        std::abort();
    }
    return 0;
}
