# orlix_embed_resources(<target> <edition-folder> [ACCESSOR <name>] [ROOT <folder>])
#
# Compiles the files listed in <folder>.files, the list beside resources/<edition-folder>/
# (one path per line, relative to the folder, images/ included), into <target> as a
# name -> bytes table. A resource is named after its file without the extension. The generated
# sources define orlix::appearance::<name>() (default: the folder name as an identifier) and
# orlix::appearance::embeddedResources(), which returns the same bundle. ROOT embeds another
# folder instead of resources/<edition-folder>/ (test fixtures). The host tool orlix_rcgen
# writes them. A listed file that is missing stops the configuration; the test
# resource_lists_match_folders finds a file in a folder that its list forgets.

set(ORLIX_EMBED_RESOURCES_DIR ${CMAKE_CURRENT_LIST_DIR})

function(orlix_embed_resources target folder)
    cmake_parse_arguments(R "" "ACCESSOR;ROOT" "" ${ARGN})
    if(NOT R_ACCESSOR)
        string(MAKE_C_IDENTIFIER "resources_${folder}" R_ACCESSOR)
    endif()

    set(rcgen_source ${ORLIX_EMBED_RESOURCES_DIR}/../tools/rcgen/orlix_rcgen.cpp)
    if(CMAKE_CROSSCOMPILING)
        # The generator runs during the build, so a cross build makes it with the host's
        # compiler.
        set(rcgen ${CMAKE_BINARY_DIR}/host/orlix_rcgen)
        set(rcgen_depends ${rcgen})
        if(NOT TARGET orlix_rcgen)
            find_program(ORLIX_HOST_CXX NAMES c++ g++ clang++ NO_CMAKE_FIND_ROOT_PATH REQUIRED)
            add_custom_command(
                OUTPUT ${rcgen}
                COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
                COMMAND ${ORLIX_HOST_CXX} -std=c++20 -O2 -o ${rcgen} ${rcgen_source}
                DEPENDS ${rcgen_source}
                COMMENT "Building the resource generator for the host"
                VERBATIM)
            add_custom_target(orlix_rcgen DEPENDS ${rcgen})
        endif()
    else()
        set(rcgen $<TARGET_FILE:orlix_rcgen>)
        if(NOT TARGET orlix_rcgen)
            add_executable(orlix_rcgen ${rcgen_source})
            target_link_libraries(orlix_rcgen PRIVATE orlix_warnings)
        endif()
    endif()

    set(root ${PROJECT_SOURCE_DIR}/resources/${folder})
    if(R_ROOT)
        set(root ${R_ROOT})
    endif()
    set(list_file ${root}.files)
    if(NOT EXISTS ${list_file})
        message(FATAL_ERROR "${list_file} is missing: it lists the files of ${root} to embed")
    endif()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${list_file})
    file(STRINGS ${list_file} files)
    foreach(f IN LISTS files)
        if(NOT EXISTS ${root}/${f})
            message(FATAL_ERROR "${list_file} lists ${f}, which is not in ${root}")
        endif()
    endforeach()
    set(inputs)
    foreach(f IN LISTS files)
        list(APPEND inputs ${root}/${f})
    endforeach()

    set(data ${CMAKE_CURRENT_BINARY_DIR}/${target}_data.cpp)
    set(main ${CMAKE_CURRENT_BINARY_DIR}/${target}_main.cpp)
    add_custom_command(
        OUTPUT ${data} ${main}
        COMMAND ${rcgen} ${data} ${main} ${R_ACCESSOR} ${root} ${files}
        DEPENDS orlix_rcgen ${rcgen_depends} ${inputs}
        COMMENT "Embedding the resources of ${folder}"
        VERBATIM)
    target_sources(${target} PRIVATE ${data} ${main})
    # Resource bytes are long string literals on purpose: they compile far faster than
    # initialiser lists of numbers.
    set_source_files_properties(${data} PROPERTIES COMPILE_OPTIONS -Wno-overlength-strings)
endfunction()
