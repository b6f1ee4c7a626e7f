# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
# Writes the Python agent's names.py from the C++ headers that name the attach
# environment and the messages, so that both sides say each name once:
#   cmake -DVARIABLES=attachvariables.h "-DCONSTANTS=attachenvironment.h;attachprotocol.h"
#         -DOUTPUT=names.py -P pythonnames.cmake
file(READ ${VARIABLES} variables)
set(protocol)
foreach(header IN LISTS CONSTANTS)
    file(READ ${header} text)
    string(APPEND protocol "${text}")
endforeach()
set(lines "# Made by the build from gui/attach's headers; do not edit.\n")
set(unset_for_children)
string(REGEX MATCHALL "PRISMARK_ATTACH_VARIABLE\\([^)]*\\)" rows "${variables}")
foreach(row IN LISTS rows)
    if(NOT row MATCHES "\\(([A-Za-z]+),[ \t\r\n]*\"([^\"]*)\",[ \t\r\n]*([A-Za-z]+),[ \t\r\n]*([A-Za-z]+)\\)")
        continue()
    endif()
    string(APPEND lines "${CMAKE_MATCH_1} = \"${CMAKE_MATCH_2}\"\n")
    if(CMAKE_MATCH_4 STREQUAL "Nothing")
        list(APPEND unset_for_children "${CMAKE_MATCH_1}")
    endif()
endforeach()
# (Each without its ";", which would split CMake's list.)
string(REGEX MATCHALL "constexpr char [A-Za-z]+\\[\\] = \"[^\";]*\"" constants "${protocol}")
foreach(constant IN LISTS constants)
    string(REGEX REPLACE "constexpr char ([A-Za-z]+)\\[\\] = (\"[^\"]*\")" "\\1 = \\2" line "${constant}")
    string(APPEND lines "${line}\n")
endforeach()
list(JOIN unset_for_children ", " joined)
string(APPEND lines "# What the application's own children must not see.\nunsetForChildren = [${joined}]\n")
# Written only when it changes, so that nothing that reads it is made again for nothing.
if(EXISTS ${OUTPUT})
    file(READ ${OUTPUT} old)
endif()
if(NOT old STREQUAL lines)
    file(WRITE ${OUTPUT} "${lines}")
endif()
