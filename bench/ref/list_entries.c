/* The reference for listing: the least a program can do to print what
   `packwright list` prints (size, offset, name per entry) from a
   well-formed archive: one read of the header and directory, no checks
   beyond the read. list_entries ARCHIVE */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static uint32_t le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24; }

int main(int argc, char** argv)
{
    if (argc != 2) return 2;
    FILE* f = fopen(argv[1], "rb");
    if (!f) return 1;
    unsigned char header[2048];
    if (fread(header, 1, sizeof header, f) != sizeof header) return 1;
    const uint32_t count = le32(header + 8);
    unsigned char* records = malloc((size_t)count * 64 + 1);
    if (!records || fread(records, 64, count, f) != count) return 1;
    uint32_t offset = 2048 + ((count * 64 + 2047) & ~2047u);
    for (uint32_t i = 0; i < count; ++i) {
        const unsigned char* r = records + (size_t)i * 64;
        const uint32_t size = le32(r + 60);
        printf("%u\t%u\t%.60s\n", size, offset, (const char*)r);
        offset += (size + 2047) & ~2047u;
    }
    return 0;
}
