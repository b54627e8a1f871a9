// libFuzzer target for one of the quick view's image decoders, named by
// PREVIEW_DECODER when it is built (fuzz_tga, fuzz_bmp): any bytes give
// either a picture within the caps or a clean refusal, never a crash or a hang.

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "preview/Image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    preview::Image image;
    const bool ok = preview::PREVIEW_DECODER(data, size, image);
    const bool sized = image.width > 0 && image.height > 0 && image.width <= preview::kMaxImageSide &&
                       image.height <= preview::kMaxImageSide &&
                       uint64_t(image.width) * uint64_t(image.height) <= preview::kMaxImagePixels &&
                       image.bgra.size() == size_t(image.width) * size_t(image.height) * 4;
    if (ok ? !sized : (image.width || image.height || !image.bgra.empty())) {
        std::fprintf(stderr, "invariant broken: %s %dx%d, %zu bytes\n", ok ? "decoded" : "refused",
                     image.width, image.height, image.bgra.size());
        std::abort();
    }
    return 0;
}
