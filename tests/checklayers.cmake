# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
# Fails when a file includes a header of a layer above its own: a core file a GUI or
# program header, a GUI file a program header, a program another program's header;
# and, inside the core and the GUI, a header of a folder above or beside its own.
# Run as: cmake -DSOURCE_DIR=... -DLAYERS=<generated list of each layer's files> -P
cmake_policy(SET CMP0057 NEW)
include(${LAYERS})

set(program_folders app attach fmt lint live lsp profile shot themebuild)

# The folders of the core and of the GUI, lowest first. A file may include headers
# of its own folder and of the folders before it; folders joined by "+" stand side by
# side, and neither includes the other.
set(core_folders support theme tokens analysis embedded)
set(gui_folders widgetstyles forms preview+switcher shell gallery profilekit+audit livekit)

# The files of a list as paths from the source root; relative ones are taken from
# base, the directory of the CMakeLists.txt that named them.
function(relative_paths out base)
    set(result)
    foreach(file IN LISTS ARGN)
        if(NOT IS_ABSOLUTE "${file}")
            set(file "${base}/${file}")
        endif()
        file(RELATIVE_PATH relative "${SOURCE_DIR}" "${file}")
        # What the build generates (moc, forms) is not layered.
        if(NOT relative MATCHES "^\\.\\./" AND NOT relative MATCHES "_autogen/")
            list(APPEND result "${relative}")
        endif()
    endforeach()
    set(${out} ${result} PARENT_SCOPE)
endfunction()
relative_paths(core_files "${core_dir}" ${core_sources})
relative_paths(gui_files "${gui_dir}" ${gui_sources})
# The forms library is part of the GUI layer.
relative_paths(forms_files "${forms_dir}" ${forms_sources})
list(APPEND gui_files ${forms_files})

set(violations)
# Checks the project headers that file includes against the allowed list.
function(check_includes file allowed_description)
    file(STRINGS "${SOURCE_DIR}/${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" header "${line}")
        # Headers the build generates (forms, moc) are not layered.
        if(NOT header MATCHES "/")
            continue()
        endif()
        set(ok FALSE)
        foreach(allowed IN LISTS ARGN)
            if(header STREQUAL allowed OR header MATCHES "^${allowed}/")
                set(ok TRUE)
            endif()
        endforeach()
        if(NOT ok)
            list(APPEND violations "${file} includes \"${header}\" (${allowed_description})")
        endif()
    endforeach()
    set(violations ${violations} PARENT_SCOPE)
endfunction()

# Checks each file of a layer: it may include headers of the layers under it
# (lower_files) and, of its own layer, those of its folder and the folders before it
# in folders; a file in a folder that folders does not name is itself a violation.
function(check_layer description layer_files folders lower_files)
    string(REPLACE ";" " < " order "${folders}")
    string(REPLACE "+" ", " order "${order}")
    foreach(file IN LISTS layer_files)
        if(NOT file MATCHES "\\.(h|cpp)$")
            continue()
        endif()
        string(REGEX REPLACE "/.*" "" folder "${file}")
        set(below)
        set(placed FALSE)
        foreach(level IN LISTS folders)
            string(REPLACE "+" ";" beside "${level}")
            if(folder IN_LIST beside)
                list(APPEND below ${folder})
                set(placed TRUE)
                break()
            endif()
            list(APPEND below ${beside})
        endforeach()
        if(NOT placed)
            list(APPEND violations
                 "${file} is in ${folder}/, which tests/checklayers.cmake does not place: ${order}")
            continue()
        endif()
        set(allowed ${lower_files})
        foreach(other IN LISTS layer_files)
            string(REGEX REPLACE "/.*" "" other_folder "${other}")
            if(other_folder IN_LIST below)
                list(APPEND allowed ${other})
            endif()
        endforeach()
        check_includes(${file} "${description}, of its own folder and those below it: ${order}"
                       ${allowed})
    endforeach()
    set(violations ${violations} PARENT_SCOPE)
endfunction()

check_layer("a core file may include core headers only" "${core_files}" "${core_folders}" "")
check_layer("a GUI file may include core and GUI headers only" "${gui_files}" "${gui_folders}"
            "${core_files}")
foreach(folder IN LISTS program_folders)
    file(GLOB_RECURSE program_files "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
    relative_paths(program_files "${SOURCE_DIR}" ${program_files})
    foreach(file IN LISTS program_files)
        check_includes(${file} "a program may include the layers and its own headers only"
                       ${core_files} ${gui_files} ${folder})
    endforeach()
endforeach()

# The toolkit's parser types are private to it and change with its releases: only
# the analysis builds on them.
file(GLOB top_folders LIST_DIRECTORIES true RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*")
set(outside_sources)
foreach(folder IN LISTS top_folders)
    # Build trees and the analysis itself are not looked at.
    if(IS_DIRECTORY "${SOURCE_DIR}/${folder}" AND NOT folder MATCHES "^(build|analysis$|\\.)")
        file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/${folder}/*.h"
             "${SOURCE_DIR}/${folder}/*.cpp")
        list(APPEND outside_sources ${sources})
    endif()
endforeach()
foreach(file IN LISTS outside_sources)
    file(STRINGS "${SOURCE_DIR}/${file}" lines REGEX "qcssparser_p\\.h")
    if(lines)
        list(APPEND violations "${file} includes the toolkit's private parser header (analysis/ only)")
    endif()
endforeach()

# Inside the analysis the headers form a stack: the entry point stylesheetlint.h is
# for its users, and no two units (a .h with its .cpp) include each other, however
# indirectly.
file(GLOB_RECURSE analysis_files RELATIVE "${SOURCE_DIR}/analysis" "${SOURCE_DIR}/analysis/*.h"
     "${SOURCE_DIR}/analysis/*.cpp")
set(units)
foreach(file IN LISTS analysis_files)
    string(REGEX REPLACE "\\.(h|cpp)$" "" unit "${file}")
    list(APPEND units ${unit})
    file(STRINGS "${SOURCE_DIR}/analysis/${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"analysis/")
    foreach(line IN LISTS lines)
        string(REGEX REPLACE ".*\"analysis/([^\"]+)\\.h\".*" "\\1" used "${line}")
        if(file MATCHES "\\.h$" AND used STREQUAL "stylesheetlint")
            list(APPEND violations "analysis/${file} includes the entry header stylesheetlint.h")
        endif()
        if(NOT used STREQUAL unit)
            list(APPEND edges_${unit} ${used})
        endif()
    endforeach()
endforeach()
list(REMOVE_DUPLICATES units)
# Takes away, round by round, the units that include no unit left; what remains
# sits on a cycle.
set(left ${units})
set(changed TRUE)
while(changed)
    set(changed FALSE)
    set(next)
    foreach(unit IN LISTS left)
        set(blocked FALSE)
        foreach(used IN LISTS edges_${unit})
            if(used IN_LIST left)
                set(blocked TRUE)
            endif()
        endforeach()
        if(blocked)
            list(APPEND next ${unit})
        else()
            set(changed TRUE)
        endif()
    endforeach()
    set(left ${next})
endwhile()
if(left)
    list(JOIN left ", " cycle)
    list(APPEND violations "include cycle inside analysis/ among: ${cycle}")
endif()

if(violations)
    list(JOIN violations "\n  " text)
    message(FATAL_ERROR "Layering broken:\n  ${text}")
endif()
list(LENGTH core_files core_count)
list(LENGTH gui_files gui_count)
string(REPLACE ";" " < " core_order "${core_folders}")
string(REPLACE ";" " < " gui_order "${gui_folders}")
message(STATUS "Layers hold: ${core_count} core files (${core_order}), ${gui_count} GUI files (${gui_order})")
