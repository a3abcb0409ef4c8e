// Writes the language tables of both editions from their readable UTF-8 sources:
//   tools/langtables/<edition>/LANGn.txt  ->  resources/<edition>/LANGn.txt
// orlix-editor gets the quoted UTF-16LE form, orlix-editor-s code page 936 lines.
//
// usage: orlix_langgen <source tree> [--check]
// --check writes nothing and fails when a resource differs from what its source gives.

#include "appearance/LanguageTable.h"
#include "model/Edition.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
bool readFile(const fs::path& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3 || (argc == 3 && std::string(argv[2]) != "--check")) {
        std::cerr << "usage: orlix_langgen <source tree> [--check]\n";
        return 2;
    }
    const fs::path root = argv[1];
    const bool check = argc == 3;
    int failures = 0;
    for (orlix::Edition edition : {orlix::Edition::Editor, orlix::Edition::EditorS}) {
        const orlix::EditionTraits& traits = orlix::traitsOf(edition);
        const std::string folder(traits.programName);
        for (int n = 1; n <= 3; ++n) {
            const std::string file = "LANG" + std::to_string(n) + ".txt";
            const fs::path source = root / "tools" / "langtables" / folder / file;
            const fs::path target = root / "resources" / folder / file;
            std::string text;
            if (!readFile(source, text)) {
                std::cerr << "cannot read " << source << "\n";
                ++failures;
                continue;
            }
            std::string error;
            auto bytes = orlix::appearance::writeLanguageTable(text, traits.tableEncoding, &error);
            if (!bytes) {
                std::cerr << source.string() << ": " << error << "\n";
                ++failures;
                continue;
            }
            const std::string encoded(bytes->begin(), bytes->end());
            if (check) {
                std::string current;
                if (!readFile(target, current) || current != encoded) {
                    std::cerr << target.string() << " differs from " << source.string() << "\n";
                    ++failures;
                }
                continue;
            }
            std::ofstream out(target, std::ios::binary | std::ios::trunc);
            out << encoded;
            if (!out.flush()) {
                std::cerr << "cannot write " << target << "\n";
                ++failures;
            }
        }
    }
    return failures == 0 ? 0 : 1;
}
