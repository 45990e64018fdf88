// Whether the printer module FILE is the one built with the program, as kiila checks it before
// it loads it: the package test runs it on the module the package installs (stripped).
//   kiila_printercheck FILE

#include "forms/moduleimage.h"

#include <cstdio>
#include <unistd.h>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    QString why;
    const int fd = forms::openPrinterModule(QString::fromLocal8Bit(argv[1]), why);
    if (fd < 0) {
        std::fprintf(stderr, "%s %s\n", argv[1], qPrintable(why));
        return 1;
    }
    ::close(fd);
    return 0;
}
