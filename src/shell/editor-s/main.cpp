#include "appearance/EmbeddedResources.h"
#include "shell/Application.h"

int main(int argc, char** argv) {
    return orlix::shell::runEditor(argc, argv, orlix::Edition::EditorS,
                                   orlix::appearance::orlixEditorSResources());
}
