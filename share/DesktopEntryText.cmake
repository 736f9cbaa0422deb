# The text forms of the desktop entry format, for the installation scripts.

# A desktop entry's string value: backslash, line breaks and tabs escaped.
function(quarn_key_file_string text out)
    string(REPLACE "\\" "\\\\" text "${text}")
    string(REPLACE "\n" "\\n" text "${text}")
    string(REPLACE "\r" "\\r" text "${text}")
    string(REPLACE "\t" "\\t" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# One argument of an Exec line: in double quotes, with ", `, $ and \ escaped and % doubled,
# then escaped as a string value.
function(quarn_exec_argument text out)
    string(REPLACE "\\" "\\\\" text "${text}")
    string(REPLACE "\"" "\\\"" text "${text}")
    string(REPLACE "`" "\\`" text "${text}")
    string(REPLACE "$" "\\$" text "${text}")
    string(REPLACE "%" "%%" text "${text}")
    quarn_key_file_string("\"${text}\"" text)
    set(${out} "${text}" PARENT_SCOPE)
endfunction()
