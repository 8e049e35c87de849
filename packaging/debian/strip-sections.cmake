# SPDX-License-Identifier: GPL-3.0-or-later
# Run by CPack once the package's files are staged (CPACK_PRE_BUILD_SCRIPTS): takes out of every
# program and module the .comment and .note sections CPack's own stripping keeps (the compiler's
# version strings), as Debian's packaging tools do. Packages of other kinds are left as they are.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
    return()
endif()
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(file IN LISTS staged)
    if(IS_SYMLINK "${file}")
        continue()
    endif()
    file(READ "${file}" magic LIMIT 4 HEX)
    if(NOT magic STREQUAL "7f454c46")
        continue()
    endif()
    execute_process(COMMAND "${CPACK_QUORLIN_STRIP}" --remove-section=.comment
                            --remove-section=.note "${file}"
                    RESULT_VARIABLE failed ERROR_VARIABLE error)
    if(failed)
        message(FATAL_ERROR "cannot strip ${file}: ${error}")
    endif()
endforeach()
