# The Qt targets are visible only where Qt was found; the tests need their own.
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets Network Test)

# The executable of a QtTest program and its scratch folder (made private to the user: Qt
# wants its runtime directory so).
function(orlix_qt_test_program name scratch)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES} ${PROJECT_SOURCE_DIR}/tests/support/ScratchHome.cpp)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE ${T_LIBS} Qt6::Test Qt6::Widgets orlix_warnings)
    target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
    target_compile_definitions(${name} PRIVATE
        ORLIX_SOURCE_DIR="${PROJECT_SOURCE_DIR}" ORLIX_TEST_SCRATCH="${scratch}")
    file(MAKE_DIRECTORY ${scratch})
    file(CHMOD ${scratch} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
endfunction()

# orlix_add_qt_test(<name> SOURCES <files...> LIBS <targets...>)
# One QtTest executable on the offscreen platform, with a scratch folder of its own as the
# runtime directory and for files the test writes.
function(orlix_add_qt_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    set(scratch ${CMAKE_CURRENT_BINARY_DIR}/scratch-${name})
    orlix_qt_test_program(${name} ${scratch} SOURCES ${T_SOURCES} LIBS ${T_LIBS})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        TIMEOUT 300
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_RUNTIME_DIR=${scratch};ORLIX_TEST_SCRATCH=${scratch};XDG_DATA_HOME=${scratch}/data;XDG_CONFIG_HOME=${scratch}/config")
endfunction()

# orlix_add_xvfb_test(<name> SOURCES <files...> LIBS <targets...> [ENVIRONMENT <VAR=value>...])
# A QtTest executable that needs a real X server: it runs under xvfb-run on the xcb platform
# and is skipped (exit 77, with a message) where the X tools it needs are not installed.
function(orlix_add_xvfb_test name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
    set(scratch ${CMAKE_CURRENT_BINARY_DIR}/scratch-${name})
    orlix_qt_test_program(${name} ${scratch} SOURCES ${T_SOURCES} LIBS ${T_LIBS})
    add_test(NAME ${name}
        COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/run-under-xvfb.sh $<TARGET_FILE:${name}>)
    set(environment "XDG_RUNTIME_DIR=${scratch}" "ORLIX_TEST_SCRATCH=${scratch}"
        "XDG_DATA_HOME=${scratch}/data" "XDG_CONFIG_HOME=${scratch}/config" ${T_ENVIRONMENT})
    set_tests_properties(${name} PROPERTIES
        TIMEOUT 120
        SKIP_RETURN_CODE 77
        ENVIRONMENT "${environment}")
endfunction()
