#include "platform/PointerSettings.h"
#include "platform/windows/WindowsPointerSettingsStore.h"

namespace orlix::platform {

std::unique_ptr<PointerSettingsStore> systemPointerSettingsStore() {
    return std::make_unique<WindowsPointerSettingsStore>();
}

} // namespace orlix::platform
