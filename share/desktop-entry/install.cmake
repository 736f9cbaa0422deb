# Run by the installation: Quarn's desktop entry with its installed path, and the ".zot!"
# type it opens, as Quarn itself writes them at every start, so that the desktop opens such
# files in Quarn before its first start. QUARN_DESKTOP_TEMPLATES names this folder.
include("${CMAKE_CURRENT_LIST_DIR}/../DesktopEntryText.cmake")

set(program "${CMAKE_INSTALL_PREFIX}/bin/Quarn")
set(share "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share")
quarn_key_file_string("${program}" PROGRAM_STRING)
quarn_exec_argument("${program}" PROGRAM_EXEC)

foreach(file "applications/quarn.desktop;quarn.desktop.in" "mime/packages/quarn-zot.xml;quarn-zot.xml")
    list(GET file 0 target)
    list(GET file 1 template)
    message(STATUS "Installing: ${share}/${target}")
    configure_file("${QUARN_DESKTOP_TEMPLATES}/${template}" "${share}/${target}" @ONLY
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${share}/${target}")
endforeach()

# The desktop's caches, when its tools are installed.
find_program(QUARN_UPDATE_MIME update-mime-database)
find_program(QUARN_UPDATE_DESKTOP update-desktop-database)
if(QUARN_UPDATE_MIME)
    execute_process(COMMAND "${QUARN_UPDATE_MIME}" "${share}/mime" OUTPUT_QUIET ERROR_QUIET
        TIMEOUT 30)
endif()
if(QUARN_UPDATE_DESKTOP)
    execute_process(COMMAND "${QUARN_UPDATE_DESKTOP}" "${share}/applications" OUTPUT_QUIET
        ERROR_QUIET TIMEOUT 30)
endif()
