# The text forms of the desktop entry format, for the installation scripts.

# A desktop entry's string value: backslash, line breaks and tabs escaped.
function(quarn_key_file_string text out)
    string(REPLACE "\\" "\\\\" text "${text}")
    string(REPLACE "\n" "\\n" text "${text}")
    string(REPLACE "\r" "\\r" text "${text}")
    string(REPLACE "\t" "\\t" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# One argument of an Exec line, as Quarn writes its own (DesktopExecLine): in double quotes
# only when it holds a character the format reserves, with ", `, $ and \ escaped inside them;
# % doubled; then escaped as a string value. Launchers that split the line at blanks (xdg-open
# outside GNOME, KDE and Xfce) take an unquoted path, never a quoted one.
function(quarn_exec_argument text out)
    if(text STREQUAL "" OR text MATCHES "[ \t\n\"'\\><~|&;$*?#()`]")
        string(REPLACE "\\" "\\\\" text "${text}")
        string(REPLACE "\"" "\\\"" text "${text}")
        string(REPLACE "`" "\\`" text "${text}")
        string(REPLACE "$" "\\$" text "${text}")
        set(text "\"${text}\"")
    endif()
    string(REPLACE "%" "%%" text "${text}")
    quarn_key_file_string("${text}" text)
    set(${out} "${text}" PARENT_SCOPE)
endfunction()
