# quarn_version_block(target [VERSION major.minor.release.build]): embeds the fixed version
# record (52 bytes, signature 0xFEEF04BD) in the ELF section ".quarn.version" of a program or
# shared library, from the project version and QUARN_BUILD_NUMBER unless VERSION names
# another one (test fixtures). The record is compiled into the target itself, marked used
# and retain so that neither the compiler nor the linker drops it.
set(QUARN_BUILD_NUMBER 1 CACHE STRING "Build number written into the version blocks")

set(QUARN_VERSION_BLOCK_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/VersionBlock.cpp.in)

function(quarn_version_block target)
    cmake_parse_arguments(ARG "" "VERSION" "" ${ARGN})
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
        set(QUARN_FILE_TYPE 1) # application
    elseif(type STREQUAL "SHARED_LIBRARY" OR type STREQUAL "MODULE_LIBRARY")
        set(QUARN_FILE_TYPE 2) # library
    else()
        message(FATAL_ERROR "quarn_version_block: ${target} is neither a program nor a shared library")
    endif()
    set(QUARN_VERSION_MAJOR ${PROJECT_VERSION_MAJOR})
    set(QUARN_VERSION_MINOR ${PROJECT_VERSION_MINOR})
    set(QUARN_VERSION_RELEASE ${PROJECT_VERSION_PATCH})
    if(NOT QUARN_VERSION_RELEASE)
        set(QUARN_VERSION_RELEASE 0)
    endif()
    set(QUARN_VERSION_BUILD ${QUARN_BUILD_NUMBER})
    if(ARG_VERSION)
        if(NOT ARG_VERSION MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
            message(FATAL_ERROR "quarn_version_block: VERSION ${ARG_VERSION} is not a.b.c.d")
        endif()
        set(QUARN_VERSION_MAJOR ${CMAKE_MATCH_1})
        set(QUARN_VERSION_MINOR ${CMAKE_MATCH_2})
        set(QUARN_VERSION_RELEASE ${CMAKE_MATCH_3})
        set(QUARN_VERSION_BUILD ${CMAKE_MATCH_4})
    endif()
    if(CMAKE_BUILD_TYPE STREQUAL "Debug")
        set(QUARN_FILE_FLAGS 1) # debug build
    else()
        set(QUARN_FILE_FLAGS 0)
    endif()
    set(source ${CMAKE_CURRENT_BINARY_DIR}/${target}_VersionBlock.cpp)
    configure_file(${QUARN_VERSION_BLOCK_TEMPLATE} ${source} @ONLY)
    target_sources(${target} PRIVATE ${source})
endfunction()
