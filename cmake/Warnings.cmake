# Every target of ours links orlix_warnings so the same strict set applies everywhere.
add_library(orlix_warnings INTERFACE)
target_compile_options(orlix_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
    -Wnon-virtual-dtor -Woverloaded-virtual -Wimplicit-fallthrough)
if(ORLIX_WERROR)
    target_compile_options(orlix_warnings INTERFACE -Werror)
endif()
