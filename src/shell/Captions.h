#pragma once

#include "appearance/Languages.h"

class QWidget;

namespace orlix::shell {

// Captions the language sets on named controls of the main window (window, page and language
// buttons, status labels, and the captions of the settings pages' fixed controls). Controls
// the window does not have are skipped.
void applyCaptions(const appearance::Languages& languages, QWidget* window);

} // namespace orlix::shell
