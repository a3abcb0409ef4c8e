// Writes each edition's program icon as PNG files of the usual sizes, for installing into the
// desktop's icon theme. The icon is the one the programs draw for their windows.
#include "shell/AppIcon.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QString>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: orlix_icongen OUTPUT_DIR\n");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const struct {
        orlix::Edition edition;
        const char* name;
    } editions[] = {{orlix::Edition::Editor, "orlix-editor"},
                    {orlix::Edition::EditorS, "orlix-editor-s"}};
    for (const auto& e : editions) {
        const QIcon icon = orlix::shell::applicationIcon(e.edition);
        for (int size : {16, 24, 32, 48, 64, 128, 256}) {
            const QString file = QStringLiteral("%1/%2-%3.png").arg(dir).arg(e.name).arg(size);
            const QPixmap pixmap = icon.pixmap(size, size);
            if (pixmap.width() != size || !pixmap.save(file, "PNG")) {
                std::fprintf(stderr, "orlix_icongen: cannot write %s\n", qPrintable(file));
                return 1;
            }
        }
    }
    return 0;
}
