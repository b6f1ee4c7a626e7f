# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
# Writes a Python module of the names C++ headers define, so that both sides say each
# name once: every `constexpr char NAME[] = "...";` and `constexpr int NAME = NUMBER;`
# of CONSTANTS becomes `NAME = ...`, and with VARIABLES (attachvariables.h) each attach
# variable too, with the list of those the application's children must not see.
# Used for the Python agent's names.py, and for the Python stand-ins' names:
#   cmake [-DVARIABLES=attachvariables.h] "-DCONSTANTS=a.h;b.h" -DOUTPUT=names.py
#         [-DMADE_FROM=where] -P pythonnames.cmake
set(protocol)
foreach(header IN LISTS CONSTANTS)
    file(READ ${header} text)
    string(APPEND protocol "${text}")
endforeach()
# A ";" would split CMake's lists: it stands as a mark until written.
string(REPLACE ";" "@SEMICOLON@" protocol "${protocol}")
if(NOT MADE_FROM)
    set(MADE_FROM "gui/attach's headers")
endif()
set(lines "# Made by the build from ${MADE_FROM}; do not edit.\n")
if(VARIABLES)
    file(READ ${VARIABLES} variables)
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
endif()
string(REGEX MATCHALL "constexpr char [A-Za-z]+\\[\\] = \"[^\"]*\"" constants "${protocol}")
foreach(constant IN LISTS constants)
    string(REGEX REPLACE "constexpr char ([A-Za-z]+)\\[\\] = (\"[^\"]*\")" "\\1 = \\2" line "${constant}")
    string(APPEND lines "${line}\n")
endforeach()
string(REGEX MATCHALL "constexpr int [A-Za-z]+ = [0-9]+" numbers "${protocol}")
foreach(constant IN LISTS numbers)
    string(REGEX REPLACE "constexpr int ([A-Za-z]+) = ([0-9]+)" "\\1 = \\2" line "${constant}")
    string(APPEND lines "${line}\n")
endforeach()
if(VARIABLES)
    list(JOIN unset_for_children ", " joined)
    string(APPEND lines "# What the application's own children must not see.\nunsetForChildren = [${joined}]\n")
endif()
string(REPLACE "@SEMICOLON@" ";" lines "${lines}")
# Written only when it changes, so that nothing that reads it is made again for nothing.
set(old "")
if(EXISTS ${OUTPUT})
    file(READ ${OUTPUT} old)
endif()
if(NOT old STREQUAL lines)
    file(WRITE ${OUTPUT} "${lines}")
endif()
