#pragma once

#include "appearance/Layout.h"

class QWidget;

namespace orlix::shell {

// Puts what a layout says onto the named controls of a window: position, visibility, size
// taken from an image, text size and colours. Controls the window does not have are skipped,
// so the settings pages can bring theirs later.
void applyLayout(const appearance::Layout& layout, QWidget* window);

} // namespace orlix::shell
