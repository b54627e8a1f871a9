#pragma once
// What an entry's bytes are, by their content, and the plain forms the quick
// view shows them in: text, a WAV header, a hex and ANSI dump.

#include <cstddef>
#include <cstdint>
#include <string>

namespace preview {

// The hex dump covers this much of an entry at most.
constexpr size_t kHexDumpBytes = 64 * 1024;

// Text in the ANSI code page: no NULs and few other control characters.
// Empty data counts as text.
bool IsText(const uint8_t* data, size_t size);
// Lines as an editor shows them: a last line without a line break counts.
size_t CountLines(const uint8_t* data, size_t size);
// The text with every line break as CR LF, as an edit control wants it.
std::string TextWithCrLf(const uint8_t* data, size_t size);

struct WavInfo {
    uint16_t format = 0;  // 1: PCM
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint16_t bitsPerSample = 0;
    uint32_t dataBytes = 0;  // as the header gives it; may exceed what is there
    size_t dataOffset = 0;   // where the samples start
};
// A RIFF WAVE file with its format chunk ahead of its data chunk.
bool ParseWav(const uint8_t* data, size_t size, WavInfo& info);

// Offset, 16 bytes in hex and the same bytes as ANSI characters (others as
// '.'), a line each, CR LF between lines; at most kHexDumpBytes.
std::string HexDump(const uint8_t* data, size_t size);

enum class Kind { text, image, sound, binary };
// How the quick view shows bytes named name: a BMP (by its header), a WAV,
// a TGA (by the name: the format has no signature), text, or else binary.
// An image that then fails to decode "cannot be shown".
Kind Classify(const std::string& name, const uint8_t* data, size_t size);

}  // namespace preview
