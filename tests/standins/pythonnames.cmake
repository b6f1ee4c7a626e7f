# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
# A Python stand-in, copied into the build, with its names in a module beside it made
# from the C++ header its tests include (by the script that makes the Python agent's),
# which Python finds there.
function(prismark_python_standin script header)
    get_filename_component(module ${header} NAME_WE)
    configure_file(${script} ${CMAKE_CURRENT_BINARY_DIR}/${script} COPYONLY)
    set(maker ${CMAKE_SOURCE_DIR}/gui/attach/agent/pythonnames.cmake)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${header} ${maker})
    execute_process(COMMAND ${CMAKE_COMMAND} -DCONSTANTS=${CMAKE_CURRENT_SOURCE_DIR}/${header}
                            -DOUTPUT=${CMAKE_CURRENT_BINARY_DIR}/${module}.py
                            -DMADE_FROM=tests/standins/${header} -P ${maker}
                    RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "could not make ${module}.py from ${header}")
    endif()
endfunction()
