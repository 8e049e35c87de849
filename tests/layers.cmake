# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a source folder includes a header from a folder that is not below it:
#   cmake -DSOURCE=<src folder> -P layers.cmake
cmake_minimum_required(VERSION 3.25)
# Each folder with the folders it may include from (besides itself).
set(below_base "")
set(below_platform base)
set(below_bell base platform)
set(below_deck base platform)
set(below_ui base platform)
set(below_app base platform bell ui)
set(below_forms base platform bell deck ui app)

set(wrong "")
foreach(folder base platform bell deck ui app forms)
    file(GLOB_RECURSE files ${SOURCE}/${folder}/*.h ${SOURCE}/${folder}/*.cpp)
    foreach(file ${files})
        file(STRINGS ${file} includes REGEX "^#include \"[a-z]+/")
        foreach(line ${includes})
            string(REGEX REPLACE "^#include \"([a-z]+)/.*" "\\1" included "${line}")
            if(NOT included STREQUAL folder AND NOT included IN_LIST below_${folder})
                file(RELATIVE_PATH name ${SOURCE} ${file})
                list(APPEND wrong "${name}: ${line}")
            endif()
        endforeach()
    endforeach()
endforeach()
if(wrong)
    list(JOIN wrong "\n  " text)
    message(FATAL_ERROR "Includes from a folder above:\n  ${text}")
endif()

