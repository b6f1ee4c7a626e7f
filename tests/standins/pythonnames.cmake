# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
# The Python stand-ins' names, read from the C++ header their tests include: every
# `constexpr char NAME[] = "...";` and `constexpr int NAME = NUMBER;` becomes
# `NAME = ...` in a module beside the copied script, which Python finds there.
function(prismark_python_standin script header)
    get_filename_component(module ${header} NAME_WE)
    set(header ${CMAKE_CURRENT_SOURCE_DIR}/${header})
    configure_file(${script} ${CMAKE_CURRENT_BINARY_DIR}/${script} COPYONLY)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${header})
    file(READ ${header} text)
    # A ";" would split CMake's lists: it stands as a mark until written.
    string(REPLACE ";" "@SEMICOLON@" text "${text}")
    set(lines "# Made by the build from tests/standins/${module}.h; do not edit.\n")
    string(REGEX MATCHALL "constexpr char [A-Za-z]+\\[\\] = \"[^\"]*\"" strings "${text}")
    foreach(constant IN LISTS strings)
        string(REGEX REPLACE "constexpr char ([A-Za-z]+)\\[\\] = (\"[^\"]*\")" "\\1 = \\2"
               line "${constant}")
        string(APPEND lines "${line}\n")
    endforeach()
    string(REGEX MATCHALL "constexpr int [A-Za-z]+ = [0-9]+" numbers "${text}")
    foreach(constant IN LISTS numbers)
        string(REGEX REPLACE "constexpr int ([A-Za-z]+) = ([0-9]+)" "\\1 = \\2" line "${constant}")
        string(APPEND lines "${line}\n")
    endforeach()
    string(REPLACE "@SEMICOLON@" ";" lines "${lines}")
    # Written only when it changes, so that nothing that reads it is made again for nothing.
    set(output ${CMAKE_CURRENT_BINARY_DIR}/${module}.py)
    set(old "")
    if(EXISTS ${output})
        file(READ ${output} old)
    endif()
    if(NOT old STREQUAL lines)
        file(WRITE ${output} "${lines}")
    endif()
endfunction()
