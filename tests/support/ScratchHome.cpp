// Compiled into every test program: before anything reads them, the data and configuration
// folders point into the program's own scratch folder, so a test run by hand (outside ctest,
// which sets the same) never writes backups or settings into the user's real folders.
#include <cstdlib>
#include <string>

namespace {

void pointAt(const char* variable, const std::string& folder) {
#ifdef _WIN32
    _putenv_s(variable, folder.c_str());
#else
    setenv(variable, folder.c_str(), 1);
#endif
}

const bool kScratchHome = [] {
    pointAt("XDG_DATA_HOME", std::string(ORLIX_TEST_SCRATCH) + "/data");
    pointAt("XDG_CONFIG_HOME", std::string(ORLIX_TEST_SCRATCH) + "/config");
    if (std::getenv("ORLIX_TEST_SCRATCH") == nullptr)
        pointAt("ORLIX_TEST_SCRATCH", ORLIX_TEST_SCRATCH);
    return true;
}();

} // namespace
