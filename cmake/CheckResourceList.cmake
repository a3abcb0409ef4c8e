# cmake -DROOT=<folder> -P CheckResourceList.cmake
# Fails when <folder>.files and the folder disagree: a file that is not listed would not be
# embedded, a listed file that is gone stops the build. Hidden files are not resources.
file(STRINGS ${ROOT}.files listed)
file(GLOB_RECURSE present LIST_DIRECTORIES false RELATIVE ${ROOT} ${ROOT}/*)
list(FILTER present EXCLUDE REGEX "(^|/)\\.")
list(SORT present)
set(unlisted ${present})
list(REMOVE_ITEM unlisted ${listed})
set(gone ${listed})
list(REMOVE_ITEM gone ${present})
if(unlisted OR gone)
    message(FATAL_ERROR "${ROOT}.files: not listed: ${unlisted}; listed but missing: ${gone}")
endif()
if(NOT listed STREQUAL present)
    message(FATAL_ERROR "${ROOT}.files is not in sorted order (LC_ALL=C sort)")
endif()
