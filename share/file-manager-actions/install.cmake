# Run by the installation: writes the file manager's actions with the installed path of
# quarn-contextmenu. QUARN_ACTION_TEMPLATES names this folder.
set(command "${CMAKE_INSTALL_PREFIX}/bin/quarn-contextmenu")
set(share "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share")

include("${CMAKE_CURRENT_LIST_DIR}/../DesktopEntryText.cmake")

quarn_key_file_string("${command}" COMMAND_STRING)
quarn_exec_argument("${command}" COMMAND_EXEC)
string(REPLACE "'" "'\\''" COMMAND_SHELL "${command}")
set(COMMAND_SHELL "'${COMMAND_SHELL}'")
string(REPLACE "&" "&amp;" COMMAND_XML "${COMMAND_SHELL}")
string(REPLACE "<" "&lt;" COMMAND_XML "${COMMAND_XML}")
string(REPLACE ">" "&gt;" COMMAND_XML "${COMMAND_XML}")

function(quarn_write_action template target)
    cmake_parse_arguments(ARG "EXECUTABLE" "" "" ${ARGN})
    set(permissions OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    if(ARG_EXECUTABLE)
        list(APPEND permissions OWNER_EXECUTE GROUP_EXECUTE WORLD_EXECUTE)
    endif()
    message(STATUS "Installing: ${target}")
    configure_file("${QUARN_ACTION_TEMPLATES}/${template}" "${target}" @ONLY
        FILE_PERMISSIONS ${permissions})
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${target}")
    set(CMAKE_INSTALL_MANIFEST_FILES "${CMAKE_INSTALL_MANIFEST_FILES}" PARENT_SCOPE)
endfunction()

# Launchers and file managers that show desktop actions.
quarn_write_action(quarn-file-actions.desktop.in "${share}/applications/quarn-file-actions.desktop")
# Dolphin: service menus must be executable to be trusted. Their MIME types hold for all their
# actions, so Decrypt, offered on ".zot!" files only, has a menu of its own.
quarn_write_action(kio-servicemenu.desktop.in "${share}/kio/servicemenus/quarn-file-actions.desktop"
    EXECUTABLE)
quarn_write_action(kio-servicemenu-decrypt.desktop.in
    "${share}/kio/servicemenus/quarn-decrypt.desktop" EXECUTABLE)
# Nautilus: one script per action, named as its menu item. It shows its scripts on every file,
# so Decrypt is left to opening a ".zot!" file in Quarn.
foreach(action "/e;Encrypt" "/w;Wipe")
    list(GET action 0 SWITCH)
    list(GET action 1 verb)
    quarn_write_action(nautilus-script.in "${share}/nautilus/scripts/${verb} with Quarn!" EXECUTABLE)
endforeach()
# Thunar: the actions to copy into its own uca.xml.
quarn_write_action(thunar-uca.xml.in "${share}/quarn/thunar/uca.xml")
