# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
# Fails when a function of core/, gui/ or programs/ is longer than 80 lines or more
# complex than 40 (pmccabe's modified cyclomatic complexity), unless
# tests/function-size-exempt.txt names it with its reason (data tables only).
# A name on that list that no longer needs it fails too, so the list stays honest.
# Run as: cmake -DSOURCE_DIR=... -DPMCCABE=... -P checkfunctionsize.cmake
cmake_policy(SET CMP0057 NEW)
set(max_lines 80)
set(max_complexity 40)

if(NOT PMCCABE OR NOT EXISTS "${PMCCABE}")
    message(FATAL_ERROR "pmccabe is not installed (apt-get install pmccabe); scripts/test.sh installs it")
endif()

# The exempt list: "FILE FUNCTION  # why", one a line.
set(exempt)
file(STRINGS "${SOURCE_DIR}/tests/function-size-exempt.txt" exempt_lines)
foreach(line IN LISTS exempt_lines)
    if(line MATCHES "^[ \t]*(#|$)")
        continue()
    endif()
    if(NOT line MATCHES "^([^ \t]+)[ \t]+([^ \t]+)[ \t]+#.+")
        message(FATAL_ERROR "tests/function-size-exempt.txt: \"${line}\" is not \"FILE FUNCTION  # why\"")
    endif()
    list(APPEND exempt "${CMAKE_MATCH_1} ${CMAKE_MATCH_2}")
endforeach()

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}"
     "${SOURCE_DIR}/core/*.cpp" "${SOURCE_DIR}/core/*.h"
     "${SOURCE_DIR}/gui/*.cpp" "${SOURCE_DIR}/gui/*.h"
     "${SOURCE_DIR}/programs/*.cpp" "${SOURCE_DIR}/programs/*.h")
list(SORT sources)
# pmccabe reads C++ well enough to measure it, and says where it did not follow the
# braces; it still measures the functions around that, so what it says on standard
# error is not a failure.
execute_process(COMMAND "${PMCCABE}" ${sources}
                WORKING_DIRECTORY "${SOURCE_DIR}"
                OUTPUT_VARIABLE report ERROR_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR report STREQUAL "")
    message(FATAL_ERROR "pmccabe failed (status ${status})")
endif()

set(violations)
set(used_exemptions)
set(measured 0)
string(REPLACE "\n" ";" rows "${report}")
foreach(row IN LISTS rows)
    # modified and plain complexity, statements, first line, lines, "FILE(LINE): NAME"
    if(NOT row MATCHES "^([0-9]+)\t[0-9]+\t[0-9]+\t[0-9]+\t([0-9]+)\t([^(]+)\\(([0-9]+)\\): (.+)$")
        continue()
    endif()
    set(complexity ${CMAKE_MATCH_1})
    set(lines ${CMAKE_MATCH_2})
    set(source ${CMAKE_MATCH_3})
    set(line ${CMAKE_MATCH_4})
    string(REPLACE "anonymous_namespace::" "" name "${CMAKE_MATCH_5}")
    math(EXPR measured "${measured} + 1")
    if(lines GREATER max_lines OR complexity GREATER max_complexity)
        if("${source} ${name}" IN_LIST exempt)
            list(APPEND used_exemptions "${source} ${name}")
        else()
            list(APPEND violations
                 "${source}:${line}: ${name} has ${lines} lines (at most ${max_lines}) and complexity ${complexity} (at most ${max_complexity})")
        endif()
    endif()
endforeach()
foreach(entry IN LISTS exempt)
    if(NOT entry IN_LIST used_exemptions)
        list(APPEND violations
             "tests/function-size-exempt.txt names ${entry}, which is within the limits now or gone: take it off")
    endif()
endforeach()

if(violations)
    list(JOIN violations "\n  " text)
    message(FATAL_ERROR "Functions to split:\n  ${text}")
endif()
list(LENGTH used_exemptions exempted)
message(STATUS "${measured} functions within ${max_lines} lines and complexity ${max_complexity} (${exempted} data tables exempt)")
