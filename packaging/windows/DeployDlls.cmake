# Install step of the Windows zip: copies the Qt plugins the programs load and every DLL the
# programs and plugins import that comes from Qt or the compiler's runtime (found by walking
# the import tables), then strips the copies. System DLLs are found in neither place and stay
# out. Expects ORLIX_QT_MINGW, ORLIX_OBJDUMP, ORLIX_STRIP and ORLIX_MINGW_DLL_DIRS.

set(dest "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(plugins platforms/qwindows.dll styles/qwindowsvistastyle.dll)
set(search_dirs "${ORLIX_QT_MINGW}/bin" ${ORLIX_MINGW_DLL_DIRS})

set(pending "")
foreach(exe orlix-editor.exe orlix-editor-s.exe orlixctl.exe)
    list(APPEND pending "${dest}/${exe}")
endforeach()
foreach(plugin ${plugins})
    get_filename_component(folder ${plugin} DIRECTORY)
    file(MAKE_DIRECTORY "${dest}/${folder}")
    file(COPY "${ORLIX_QT_MINGW}/plugins/${plugin}" DESTINATION "${dest}/${folder}"
         FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    list(APPEND pending "${dest}/${plugin}")
endforeach()

set(copied "")
while(pending)
    list(POP_FRONT pending file)
    execute_process(COMMAND ${ORLIX_OBJDUMP} -p ${file} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "cannot read the imports of ${file}")
    endif()
    string(REGEX MATCHALL "DLL Name: [^\r\n]+" names "${dump}")
    foreach(line ${names})
        string(REGEX REPLACE "DLL Name: " "" dll "${line}")
        string(TOLOWER "${dll}" key)
        list(FIND copied "${key}" seen)
        if(NOT seen EQUAL -1)
            continue()
        endif()
        foreach(dir ${search_dirs})
            if(EXISTS "${dir}/${dll}")
                file(COPY "${dir}/${dll}" DESTINATION "${dest}"
                     FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
                list(APPEND copied ${key})
                list(APPEND pending "${dest}/${dll}")
                break()
            endif()
        endforeach()
    endforeach()
endwhile()

# Debug information is most of the DLLs' size; the stripped copies run the same.
file(GLOB_RECURSE dlls "${dest}/*.dll")
foreach(dll ${dlls})
    execute_process(COMMAND ${ORLIX_STRIP} --strip-unneeded ${dll} RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "cannot strip ${dll}")
    endif()
endforeach()
list(LENGTH copied count)
message(STATUS "Deployed ${count} DLLs and ${plugins}")
