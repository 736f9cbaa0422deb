# quarn_library(name SOURCES files... [DEPS targets...]): the static library of one source
# folder. Its headers are included by their folder below src/ ("platform/Registry.h").
function(quarn_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# quarn_test(name [GUI] SOURCES files... DEPS targets... [MOUNT_TABLE filters...]): the test
# program of one tests/ folder. With GUI its main creates an offscreen application and installs
# the Qt message service; without, it runs without a display and the test CoreTestsLinkNoWidgets
# checks that it links no Qt Widgets. The tests that MOUNT_TABLE names (gtest filters) mount
# file systems, or fail when a volume comes or goes meanwhile: they never run at the same time.
function(quarn_test name)
    cmake_parse_arguments(ARG "GUI" "" "SOURCES;DEPS;MOUNT_TABLE" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    if(ARG_GUI)
        target_link_libraries(${name} PRIVATE quarn_test_support_gui ${ARG_DEPS})
    else()
        target_link_libraries(${name} PRIVATE quarn_test_main ${ARG_DEPS})
        # Every library linked is recorded as needed, so that ldd shows the whole link list.
        target_link_options(${name} PRIVATE LINKER:--no-as-needed)
        set_property(GLOBAL APPEND PROPERTY QUARN_CORE_TESTS ${name})
    endif()
    if(NOT ARG_MOUNT_TABLE)
        gtest_discover_tests(${name}
            DISCOVERY_MODE PRE_TEST
            PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
        return()
    endif()
    list(JOIN ARG_MOUNT_TABLE ":" mount_table)
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        TEST_FILTER "-${mount_table}"
        PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        TEST_FILTER "${mount_table}"
        PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen RESOURCE_LOCK mount_table)
endfunction()
