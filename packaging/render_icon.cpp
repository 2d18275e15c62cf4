// Draws the application icon's SVG at the sizes desktops look for in the
// hicolor theme: render_icon SVG OUTDIR NAME SIZE... writes
// OUTDIR/SIZExSIZE/NAME.png for each SIZE. Runs at build time.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fputs("usage: render_icon SVG OUTDIR NAME SIZE...\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render_icon: %s is no SVG picture it can draw\n", argv[1]);
        return 1;
    }
    for (int i = 4; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size < 1 || size > 1024) {
            std::fprintf(stderr, "render_icon: %s is not a size from 1 to 1024\n", argv[i]);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        const std::filesystem::path folder =
            std::filesystem::path(argv[2]) / (std::to_string(size) + "x" + std::to_string(size));
        std::filesystem::create_directories(folder);
        const std::string file = (folder / (std::string(argv[3]) + ".png")).string();
        image.setText("Software", "render_icon, from the application's SVG icon");
        if (!image.save(QString::fromStdString(file), "PNG")) {
            std::fprintf(stderr, "render_icon: cannot write %s\n", file.c_str());
            return 1;
        }
    }
    return 0;
}
