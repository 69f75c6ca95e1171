// Writes the application icon for the desktop: an SVG and PNGs at the hicolor sizes, all
// from the drawing the window uses.
#include "app/AppIcon.h"

#include <QDir>
#include <QSaveFile>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER ICON-NAME\n", argv[0]);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    QSaveFile svg(out + QStringLiteral("/scalable/") + name + QStringLiteral(".svg"));
    if (!QDir().mkpath(out + QStringLiteral("/scalable")) || !svg.open(QIODevice::WriteOnly) ||
        svg.write(ApplicationIconSvg()) < 0 || !svg.commit()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(svg.fileName()));
        return 1;
    }
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString folder = out + QStringLiteral("/%1x%1").arg(size);
        const QString png = folder + u'/' + name + QStringLiteral(".png");
        if (!QDir().mkpath(folder) || !ApplicationIconImage(size).save(png, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(png));
            return 1;
        }
    }
    return 0;
}
