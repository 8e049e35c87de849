# SPDX-License-Identifier: GPL-3.0-or-later
# Writes and installs the desktop entry for the prefix being installed to; run by the install
# script, not when configuring.

# A path as one argument of a desktop entry's Exec key. Plain paths stay bare; others are quoted
# with the characters that are special inside quotes escaped, "%" doubled (it starts a field
# code) and every backslash doubled again, because string escapes are undone before quoting.
function(quorlin_exec_argument path out)
    if(path MATCHES "^[A-Za-z0-9/._+,:@-]+$")
        set(${out} "${path}" PARENT_SCOPE)
        return()
    endif()
    string(REPLACE "\\" "\\\\" arg "${path}")
    string(REPLACE "\"" "\\\"" arg "${arg}")
    string(REPLACE "`" "\\`" arg "${arg}")
    string(REPLACE "$" "\\$" arg "${arg}")
    string(REPLACE "%" "%%" arg "\"${arg}\"")
    string(REPLACE "\\" "\\\\" arg "${arg}")
    set(${out} "${arg}" PARENT_SCOPE)
endfunction()

# A directory under the install prefix (or absolute) as an absolute path without a trailing slash.
function(quorlin_absolute_dir dir out)
    if(NOT IS_ABSOLUTE "${dir}")
        set(dir "${CMAKE_INSTALL_PREFIX}/${dir}")
    endif()
    cmake_path(NORMAL_PATH dir)
    string(REGEX REPLACE "(.)/$" "\\1" dir "${dir}")
    if(NOT IS_ABSOLUTE "${dir}" OR dir MATCHES "[\n\r\t]")
        message(FATAL_ERROR "A desktop entry cannot name '${dir}': install to an absolute "
                            "prefix without control characters")
    endif()
    set(${out} "${dir}" PARENT_SCOPE)
endfunction()

function(quorlin_install_desktop_entry)
    cmake_parse_arguments(PARSE_ARGV 0 arg "" "TEMPLATE;APP_ID;BINDIR;BELLDIR;DATADIR;WORKDIR" "")
    quorlin_absolute_dir("${arg_BINDIR}" bindir)
    quorlin_absolute_dir("${arg_BELLDIR}" belldir)
    quorlin_absolute_dir("${arg_DATADIR}/applications" appdir)

    set(QUORLIN_APP_ID "${arg_APP_ID}")
    quorlin_exec_argument("${bindir}/quorlin" QUORLIN_EXEC)
    # Path is a plain string value, where only the backslash needs its escape.
    string(REPLACE "\\" "\\\\" QUORLIN_BELLDIR "${belldir}")

    # One folder per prefix and staging root, so that installs to different places running at
    # the same time do not write each other's entry.
    string(MD5 key "$ENV{DESTDIR}|${CMAKE_INSTALL_PREFIX}")
    set(entry "${arg_WORKDIR}/${key}/${arg_APP_ID}.desktop")
    configure_file("${arg_TEMPLATE}" "${entry}" @ONLY)
    # file(INSTALL) adds DESTDIR, reports the file and records it in the install manifest, as
    # install(FILES) would.
    file(INSTALL DESTINATION "${appdir}" TYPE FILE FILES "${entry}")
endfunction()
