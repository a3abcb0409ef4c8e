#pragma once

#include "appearance/ResourceBundle.h"

namespace orlix::appearance {

// The resources of the edition this program was built for. Defined in the generated source of
// the bundle library that the program links (orlix_resources_editor or orlix_resources_editor_s),
// so a program links exactly one of them.
const ResourceBundle& embeddedResources();

// The bundles by edition, for tests and tools that look at both. Each is defined only in its
// own bundle library.
const ResourceBundle& orlixEditorResources();
const ResourceBundle& orlixEditorSResources();

} // namespace orlix::appearance
