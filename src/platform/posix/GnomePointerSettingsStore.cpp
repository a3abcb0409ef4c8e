#include "platform/posix/GnomePointerSettingsStore.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <fcntl.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace orlix::platform {

namespace {

constexpr const char* kSpeedKey = "speed";
constexpr const char* kDoubleClickKey = "double-click";

std::string_view trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

std::optional<std::string> gsettings(std::vector<std::string> args) {
    args.insert(args.begin(), "gsettings");
    return runProgram(args);
}

template <typename T> std::optional<T> parseNumber(std::string_view text) {
    text = trim(text);
    T value{};
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

} // namespace

std::optional<std::string> runProgram(const std::vector<std::string>& argv) {
    if (argv.empty()) return std::nullopt;
    int out[2];
    if (pipe(out) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string text;
    if (spawned == 0) {
        char buffer[512];
        for (;;) {
            const ssize_t n = read(out[0], buffer, sizeof buffer);
            if (n > 0) {
                text.append(buffer, static_cast<std::size_t>(n));
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            break;
        }
    }
    close(out[0]);
    if (spawned != 0) return std::nullopt;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return std::nullopt;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return text;
}

GnomePointerSettingsStore::GnomePointerSettingsStore() {
    const auto keys = gsettings({"list-keys", kSchema});
    if (!keys) return;
    std::istringstream lines(*keys);
    std::string line;
    while (std::getline(lines, line)) {
        const std::string_view key = trim(line);
        if (key == kSpeedKey) hasSpeed_ = true;
        if (key == kDoubleClickKey) hasDoubleClick_ = true;
    }
}

bool GnomePointerSettingsStore::supports(PointerSetting setting) const {
    switch (setting) {
    case PointerSetting::Speed:
        return hasSpeed_;
    case PointerSetting::DoubleClick:
        return hasDoubleClick_;
    case PointerSetting::WheelLines:
        break;
    }
    return false;
}

double GnomePointerSettingsStore::toGnomeSpeed(int speed) {
    return std::clamp((speed - 10) / 10.0, -1.0, 1.0);
}

int GnomePointerSettingsStore::fromGnomeSpeed(double gnome) {
    if (!std::isfinite(gnome)) return 10;
    return std::clamp(static_cast<int>(std::lround(gnome * 10.0 + 10.0)), 1, 20);
}

bool GnomePointerSettingsStore::isWholeSpeed(double gnome) {
    if (!std::isfinite(gnome)) return false;
    const double speed = gnome * 10.0 + 10.0;
    const double whole = std::round(speed);
    return std::abs(speed - whole) < 1e-6 && whole >= 1.0 && whole <= 20.0;
}

PointerValues GnomePointerSettingsStore::read() {
    PointerValues v;
    if (hasSpeed_) {
        if (auto text = gsettings({"get", kSchema, kSpeedKey}))
            if (auto gnome = parseNumber<double>(*text)) {
                v.speed = fromGnomeSpeed(*gnome);
                v.betweenValues[static_cast<std::size_t>(PointerSetting::Speed)] =
                    !isWholeSpeed(*gnome);
            }
    }
    if (hasDoubleClick_) {
        if (auto text = gsettings({"get", kSchema, kDoubleClickKey}))
            v.doubleClick = parseNumber<int>(*text);
    }
    return v;
}

PointerResult GnomePointerSettingsStore::apply(const PointerUpdate& update) {
    // What GNOME stores it applies: a value only re-applied is already in effect.
    PointerResult result;
    if (hasSpeed_ && update.write.speed) {
        char text[32];
        auto [end, ec] = std::to_chars(text, text + sizeof text, toGnomeSpeed(*update.write.speed),
                                       std::chars_format::fixed, 2);
        const std::string value(text, ec == std::errc() ? end : text);
        if (!gsettings({"set", kSchema, kSpeedKey, value}))
            result.failures.push_back(std::string(kSchema) + " " + kSpeedKey + " not set");
    }
    if (hasDoubleClick_ && update.write.doubleClick) {
        if (!gsettings(
                {"set", kSchema, kDoubleClickKey, std::to_string(*update.write.doubleClick)}))
            result.failures.push_back(std::string(kSchema) + " " + kDoubleClickKey + " not set");
    }
    return result;
}

} // namespace orlix::platform
