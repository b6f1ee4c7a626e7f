# SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
# SPDX-License-Identifier: MIT
# Fails when the attach plugin holds the gallery's window or loads a library only the
# gallery or the launcher needs: every byte and library it holds is loaded into the
# author's application before its first paint.
# Run as: cmake -DPLUGIN=<the .so> -DNM=<nm> -DREADELF=<readelf> -P
execute_process(COMMAND ${READELF} -d ${PLUGIN} OUTPUT_VARIABLE dynamic RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "cannot read ${PLUGIN}")
endif()
set(problems)
foreach(library Svg Network)
    if(dynamic MATCHES "NEEDED[^\n]*Qt[56]${library}")
        list(APPEND problems "it loads the Qt ${library} library")
    endif()
endforeach()

execute_process(COMMAND ${NM} -C --defined-only ${PLUGIN} OUTPUT_VARIABLE symbols
                RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "cannot list the symbols of ${PLUGIN}")
endif()
foreach(class MainWindow PreviewContent StyleSwitcherWindow TitleBar)
    if(symbols MATCHES "[ :]${class}::")
        list(APPEND problems "it holds ${class}")
    endif()
endforeach()

if(problems)
    list(JOIN problems "; " joined)
    message(FATAL_ERROR "The attach plugin links the gallery: ${joined}")
endif()
