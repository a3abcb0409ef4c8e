#pragma once

namespace orlix::pages {

// Windows virtual-key code for a Qt key code (Qt::Key values) on platforms whose key events
// carry no virtual key of their own. `keypad` is true when the key came from the numeric
// keypad. Unknown keys give 0, which the key tables read as "no key".
unsigned virtualKeyFromQtKey(int qtKey, bool keypad);

} // namespace orlix::pages
