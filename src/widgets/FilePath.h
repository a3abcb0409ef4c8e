#pragma once

#include <QString>

#include <filesystem>

namespace orlix::pages {

// A file name from a Qt dialog as the core's file functions take it: wide on Windows, so no
// character of the name is lost to the code page.
inline std::filesystem::path toPath(const QString& file) {
#ifdef Q_OS_WIN
    return std::filesystem::path(file.toStdWString());
#else
    return std::filesystem::path(file.toStdString());
#endif
}

} // namespace orlix::pages
