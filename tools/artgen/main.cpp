// orlix_artgen: draws the skin images of both editions.
//
//   orlix_artgen images <resources-dir>   writes <dir>/<edition>/images/<name>.png
//   orlix_artgen sheets <docs-dir>        writes the contact sheets for people to review
//   orlix_artgen previews <dir>           writes full-size window mock-ups of every page
//
// The output depends only on this drawing code: no fonts, no randomness, fixed PNG encoding.

#include "ArtSet.h"
#include "ContactSheet.h"
#include "PngWriter.h"
#include "Theme.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

#include <unistd.h>

namespace {

// Qt picks blending routines by the CPU it runs on. Pin the plain SSE2 routines, which every
// x86-64 machine has, so that all machines draw the same pixels.
constexpr const char* kPinnedCpu =
    "sse3 ssse3 fma sse4.1 sse4.2 movbe popcnt aes avx f16c rdrnd bmi avx2 bmi2 avx512f "
    "avx512dq rdseed avx512ifma avx512cd sha avx512bw avx512vl avx512vbmi avx512vbmi2 gfni "
    "vaes avx512vnni avx512bitalg avx512vpopcntdq avx512fp16";

// Qt reads the variable while its libraries load, before main runs; restart once with it set.
// A marker of our own tells the restarted copy that it is the restart (Qt edits the variable's
// text while parsing it, so the variable itself cannot be compared).
void pinCpuFeatures(char** argv) {
    const char* marker = std::getenv("ORLIX_ARTGEN_PINNED");
    if (marker != nullptr && std::strcmp(marker, "1") == 0) return;
    setenv("QT_NO_CPU_FEATURE", kPinnedCpu, 1);
    setenv("ORLIX_ARTGEN_PINNED", "1", 1);
    execv("/proc/self/exe", argv);
    std::cerr << "orlix_artgen: cannot restart itself; output may vary between CPUs\n";
}

int usage() {
    std::cerr << "usage: orlix_artgen images <resources-dir>\n"
                 "       orlix_artgen sheets <docs-dir>\n"
                 "       orlix_artgen previews <dir>\n";
    return 2;
}

int writeImages(const std::filesystem::path& root) {
    for (const artgen::Edition& e : {artgen::editorEdition(), artgen::editorSEdition()}) {
        const std::filesystem::path dir = root / e.name / "images";
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        if (ec) {
            std::cerr << "orlix_artgen: cannot create " << dir << ": " << ec.message() << "\n";
            return 1;
        }
        for (const artgen::Artwork& a : artgen::renderEdition(e)) {
            std::string error;
            if (!artgen::writePng(a.image, (dir / (a.name + ".png")).string(), error)) {
                std::cerr << "orlix_artgen: " << error << "\n";
                return 1;
            }
        }
    }
    return 0;
}

int writeSheets(const std::filesystem::path& docs) {
    std::error_code ec;
    std::filesystem::create_directories(docs, ec);
    for (const artgen::Edition& e : {artgen::editorEdition(), artgen::editorSEdition()}) {
        const QImage sheet = artgen::contactSheet(e, artgen::renderEdition(e));
        std::string error;
        const auto path = docs / ("contact-sheet-" + e.name + ".png");
        if (!artgen::writePng(sheet, path.string(), error)) {
            std::cerr << "orlix_artgen: " << error << "\n";
            return 1;
        }
    }
    return 0;
}

int writePreviews(const std::filesystem::path& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    for (const artgen::Edition& e : {artgen::editorEdition(), artgen::editorSEdition()}) {
        const std::vector<artgen::Artwork> art = artgen::renderEdition(e);
        std::string error;
        if (!artgen::writePng(artgen::controlsSheet(art, 4, 1600),
                              (dir / (e.name + "-controls.png")).string(), error)) {
            std::cerr << "orlix_artgen: " << error << "\n";
            return 1;
        }
        for (const artgen::Skin& s : e.skins) {
            for (int page = 1; page <= 5; ++page) {
                const QImage w = artgen::previewWindow(e, s, page, art, QColor(62, 64, 68));
                const auto path = dir / (e.name + "-L" + std::to_string(s.number) + "-page" +
                                         std::to_string(page) + ".png");
                if (!artgen::writePng(w, path.string(), error)) {
                    std::cerr << "orlix_artgen: " << error << "\n";
                    return 1;
                }
            }
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) return usage();
    pinCpuFeatures(argv);
    const std::string mode = argv[1];
    if (mode == "images") return writeImages(argv[2]);
    if (mode == "sheets") return writeSheets(argv[2]);
    if (mode == "previews") return writePreviews(argv[2]);
    return usage();
}
