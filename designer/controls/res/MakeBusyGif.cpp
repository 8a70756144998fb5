// Writes the busy picture (resource GIF 180) to the path given:
//   kwvd_make_busy_gif designer/controls/res/GIF/180.gif
#include "designer/controls/tests/GifBuilder.h"

#include <QFile>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <file.gif>\n", argv[0]);
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    const QByteArray bytes = BusyPictureGif();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
