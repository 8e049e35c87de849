# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DGENERATOR=<quorlin_assetgen> -DCOMMITTED=<repo>/assets -DOUTPUT=<scratch folder>
#       -P compare_generated.cmake
# Fails unless a fresh run of the generator writes exactly the committed pictures, icons and
# bell, byte for byte, and no file more or less.
foreach(var GENERATOR COMMITTED OUTPUT)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "${var} is not set")
    endif()
endforeach()

file(REMOVE_RECURSE ${OUTPUT})
# The generator runs with a font configuration that holds no fonts at all: the journal pages'
# handwriting must come from the one font file the generator reads itself, never from a font
# the system happens to have installed under that name or for Thai.
set(no_fonts ${OUTPUT}-no-fonts.conf)
file(WRITE ${no_fonts}
     "<?xml version=\"1.0\"?>\n"
     "<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
     "<fontconfig><cachedir>${OUTPUT}-font-cache</cachedir></fontconfig>\n")
execute_process(COMMAND ${CMAKE_COMMAND} -E env FONTCONFIG_FILE=${no_fonts} ${GENERATOR} ${OUTPUT}
                RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the generator failed (${result}): ${errors}")
endif()

set(patterns pictures/*.png icons/*.png 80578_634166-lq.wav)
set(committed_files)
set(generated_files)
foreach(pattern ${patterns})
    file(GLOB found RELATIVE ${COMMITTED} ${COMMITTED}/${pattern})
    list(APPEND committed_files ${found})
    file(GLOB found RELATIVE ${OUTPUT} ${OUTPUT}/${pattern})
    list(APPEND generated_files ${found})
endforeach()
list(SORT committed_files)
list(SORT generated_files)
if(NOT committed_files STREQUAL generated_files)
    message(FATAL_ERROR "the generator writes [${generated_files}] but the repository holds "
                        "[${committed_files}]")
endif()

set(differing)
foreach(name ${committed_files})
    file(SHA256 ${COMMITTED}/${name} want)
    file(SHA256 ${OUTPUT}/${name} got)
    if(NOT want STREQUAL got)
        list(APPEND differing ${name})
    endif()
endforeach()
if(differing)
    message(FATAL_ERROR "regenerated files differ from the committed ones: ${differing}")
endif()
list(LENGTH committed_files count)
message(STATUS "${count} generated files match the committed ones byte for byte")
