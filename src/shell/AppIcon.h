#pragma once

#include "model/Edition.h"

#include <QIcon>

namespace orlix::shell {

// The programs' icon for the task bar and window lists: a hexagon badge with a mouse outline,
// in each edition's first accent colour. Drawn at start so no extra artwork has to ship.
QIcon applicationIcon(Edition edition);

} // namespace orlix::shell
