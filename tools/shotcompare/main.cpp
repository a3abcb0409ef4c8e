// Compares two screenshot runs of a program (`--screenshot DIR`), for example the Linux and
// the Windows build: every shot must exist in both with the same size, every named control
// must stand at the same place (the runs' controls lists), and pixels may differ only inside
// controls that draw text, where another font is expected. Prints one line per shot with the
// share of differing pixels and ends with a summary; exit status 1 when the runs differ
// beyond what the fonts explain.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QRegion>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

namespace {

struct Control {
    QRect rect;
    bool text = false;
};
// Shot name -> object name -> control.
using Controls = QMap<QString, QMap<QString, Control>>;

// Lines "shot objectName x y width height text|plain", as ScreenshotTour writes them.
bool readControls(const QString& file, Controls& out, QString& error) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error = QStringLiteral("cannot read ") + file;
        return false;
    }
    QTextStream in(&f);
    int line = 0;
    while (!in.atEnd()) {
        ++line;
        const QStringList fields = in.readLine().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.isEmpty()) continue;
        bool ok = fields.size() == 7;
        int v[4] = {};
        for (int i = 0; ok && i < 4; ++i)
            v[i] = fields[2 + i].toInt(&ok);
        if (!ok) {
            error = QStringLiteral("%1:%2: not a control line").arg(file).arg(line);
            return false;
        }
        out[fields[0]][fields[1]] = {QRect(v[0], v[1], v[2], v[3]),
                                     fields[6] == QLatin1String("text")};
    }
    return true;
}

struct Result {
    qint64 differing = 0;   // pixels that differ at all
    qint64 unexplained = 0; // of those, outside every control that draws text
    qint64 total = 0;
};

Result compare(const QImage& a, const QImage& b, const QRegion& text) {
    Result r;
    r.total = qint64(a.width()) * a.height();
    for (int y = 0; y < a.height(); ++y) {
        const auto* pa = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* pb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            // Fully transparent pixels (outside the window's outline) count as equal.
            if (pa[x] == pb[x] || (qAlpha(pa[x]) == 0 && qAlpha(pb[x]) == 0)) continue;
            ++r.differing;
            if (!text.contains(QPoint(x, y))) ++r.unexplained;
        }
    }
    return r;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4) {
        std::fprintf(stderr,
                     "usage: orlix_shotcompare REFERENCE-DIR OTHER-DIR PROGRAM\n"
                     "  compares PROGRAM-*.png and PROGRAM-controls.txt of two screenshot runs\n");
        return 2;
    }
    const QDir ref(args[1]);
    const QDir other(args[2]);
    const QString program = args[3];
    const QString controlsName = program + QStringLiteral("-controls.txt");

    QString error;
    Controls refControls;
    Controls otherControls;
    if (!readControls(ref.filePath(controlsName), refControls, error) ||
        !readControls(other.filePath(controlsName), otherControls, error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 2;
    }

    int failures = 0;
    const QStringList shots =
        ref.entryList({program + QStringLiteral("-*.png")}, QDir::Files, QDir::Name);
    if (shots.isEmpty()) {
        std::fprintf(stderr, "no %s-*.png in %s\n", qPrintable(program), qPrintable(ref.path()));
        return 2;
    }
    const QStringList extra =
        other.entryList({program + QStringLiteral("-*.png")}, QDir::Files, QDir::Name);
    for (const QString& name : extra) {
        if (!shots.contains(name)) {
            std::printf("%s: only in %s\n", qPrintable(name), qPrintable(other.path()));
            ++failures;
        }
    }

    qint64 allDiffering = 0;
    qint64 allPixels = 0;
    qint64 allUnexplained = 0;
    for (const QString& name : shots) {
        const QString shot = name.mid(program.size() + 1).chopped(4);
        const QImage a = QImage(ref.filePath(name)).convertToFormat(QImage::Format_ARGB32);
        const QImage b = QImage(other.filePath(name)).convertToFormat(QImage::Format_ARGB32);
        if (b.isNull()) {
            std::printf("%s: missing or unreadable in %s\n", qPrintable(name),
                        qPrintable(other.path()));
            ++failures;
            continue;
        }
        if (a.size() != b.size()) {
            std::printf("%s: %dx%d against %dx%d\n", qPrintable(name), a.width(), a.height(),
                        b.width(), b.height());
            ++failures;
            continue;
        }
        // The controls of the shot: the same names at the same places in both runs.
        const auto& mine = refControls.value(shot);
        const auto& theirs = otherControls.value(shot);
        QStringList moved;
        QRegion text;
        for (auto it = mine.begin(); it != mine.end(); ++it) {
            const auto found = theirs.find(it.key());
            if (found == theirs.end()) {
                moved << it.key() + QStringLiteral(" (missing)");
            } else if (found->rect != it->rect) {
                moved << it.key();
            } else if (it->text) {
                text += it->rect;
            }
        }
        for (auto it = theirs.begin(); it != theirs.end(); ++it)
            if (!mine.contains(it.key())) moved << it.key() + QStringLiteral(" (extra)");
        if (mine.isEmpty()) moved << QStringLiteral("(no controls listed)");

        const Result r = compare(a, b, text);
        allDiffering += r.differing;
        allPixels += r.total;
        allUnexplained += r.unexplained;
        const bool bad = !moved.isEmpty() || r.unexplained > 0;
        std::printf("%s: %.2f %% of the pixels differ, %lld outside text%s%s\n", qPrintable(shot),
                    100.0 * double(r.differing) / double(r.total),
                    static_cast<long long>(r.unexplained),
                    moved.isEmpty() ? "" : "; controls not in place: ",
                    qPrintable(moved.join(QStringLiteral(", "))));
        if (bad) ++failures;
    }
    std::printf("%s: %lld shots, %.2f %% of all pixels differ, %lld of them outside text, "
                "%d failing\n",
                qPrintable(program), static_cast<long long>(shots.size()),
                100.0 * double(allDiffering) / double(allPixels),
                static_cast<long long>(allUnexplained), failures);
    return failures == 0 ? 0 : 1;
}
