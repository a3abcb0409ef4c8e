#pragma once

#include "appearance/ResourceBundle.h"
#include "model/Edition.h"

namespace orlix::shell {

// The whole program of one edition: command line, single instance, the mouse (real or
// simulated), the main window and its event loop. main() of each edition calls it with the
// edition's own resources.
int runEditor(int argc, char** argv, Edition edition, const appearance::ResourceBundle& resources);

} // namespace orlix::shell
