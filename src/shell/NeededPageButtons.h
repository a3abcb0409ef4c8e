#pragma once

#include "appearance/Layout.h"

#include <QStringList>

class QWidget;

namespace orlix::shell {

// Shows the Breathing-light and Macro page buttons for a mouse that has those features
// where the layout hides them, in the first row of page buttons after the last one shown;
// otherwise they keep what the layout says. Called after every layout and whenever the
// shown mouse changes; `mouseShown` is false in the start-up, no-device and error states.
// `rowPlate` and `addedPlate` are the drawn widths of the row's plates and of the wider one
// the added buttons take (0: the row's). Returns the images of the buttons it added.
QStringList showNeededPageButtons(QWidget* window, const appearance::LayoutPlacement& layout,
                                  bool mouseShown, bool macroDevice, bool mouseHasLighting,
                                  int rowPlate, int addedPlate);

} // namespace orlix::shell
