#pragma once

class QKeyEvent;

namespace orlix::pages {

// Windows virtual-key code for a Qt key code (Qt::Key values) on platforms whose key events
// carry no virtual key of their own. `keypad` is true when the key came from the numeric
// keypad. Unknown keys give 0, which the key tables read as "no key".
unsigned virtualKeyFromQtKey(int qtKey, bool keypad);

// The virtual key of a key event: the platform's own where it gives one (Windows), else
// derived from the Qt key as the current layout names it. Every key capture of the program
// (the key-combination dialog, macro recording) takes its keys from here.
unsigned virtualKeyOf(const QKeyEvent& event);

} // namespace orlix::pages
