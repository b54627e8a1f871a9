/* The reference for extraction: the least a program can do to create the
   same files (open, write, close), nothing checked beyond the write.
   make_files DIR COUNT SIZE */
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 4) return 2;
    const int count = atoi(argv[2]);
    const size_t size = (size_t)atoi(argv[3]);
    char* data = calloc(size + 1, 1);
    char path[4096];
    memset(data, 'x', size);
    for (int i = 0; i < count; ++i) {
        snprintf(path, sizeof path, "%s/f%05d", argv[1], i);
        const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (fd < 0 || write(fd, data, size) != (ssize_t)size || close(fd) != 0) return 1;
    }
    free(data);
    return 0;
}
