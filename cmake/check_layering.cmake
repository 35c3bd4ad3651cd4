# The include graph of src/ against the layering of docs/HACKING.md:
#   cmake -DSOURCE_DIR=<repo>/src -P check_layering.cmake
# Each folder may include its own headers and those of the folders below it
# (directly or through another); Qt only in the two Qt folders. Every
# include across the layering is listed and the check fails.

cmake_minimum_required(VERSION 3.25)

# The folders each folder builds on directly, as in docs/HACKING.md.
set(below_platform "")
set(below_link platform)
set(below_settings link)
set(below_profiles settings)
set(below_editor settings)
set(below_monitor link)
set(below_report settings editor)
set(below_report_render report)
set(below_discovery platform)
set(below_app profiles editor monitor report discovery)
set(below_bus app)
set(below_cli app bus report_render)
set(below_gateway bus)
set(below_gui app bus report_render)
set(qt_folders gui report_render)
# The window's files sit in one folder per role, as docs/HACKING.md maps
# them; the simulator's library (lib/) is included by no folder of src/.
set(gui_roles window pages dialogs bus_view widgets texts)
list(JOIN gui_roles "|" gui_role_pattern)
list(JOIN gui_roles ", " gui_role_names)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "usage: cmake -DSOURCE_DIR=<repo>/src -P check_layering.cmake")
endif()

# Every folder reachable from `folder` downwards, itself included.
function(reachable folder out)
  set(found ${folder})
  set(queue ${below_${folder}})
  while(queue)
    list(POP_FRONT queue next)
    if(NOT next IN_LIST found)
      list(APPEND found ${next})
      list(APPEND queue ${below_${next}})
    endif()
  endwhile()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

set(violations "")
file(GLOB folders LIST_DIRECTORIES true RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
foreach(folder ${folders})
  if(NOT IS_DIRECTORY ${SOURCE_DIR}/${folder})
    continue()
  endif()
  if(NOT DEFINED below_${folder})
    list(APPEND violations "src/${folder}: a folder the layering does not place")
    continue()
  endif()
  reachable(${folder} allowed)
  file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.h
       ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(file ${files})
    if(folder STREQUAL "gui" AND NOT file MATCHES "^gui/(${gui_role_pattern})/[^/]+$")
      list(APPEND violations "src/${file}: outside the window's role folders (${gui_role_names})")
    endif()
    file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line ${includes})
      if(line MATCHES "\"([a-z_]+)/[^\"]+\"")
        if(NOT CMAKE_MATCH_1 IN_LIST allowed)
          list(APPEND violations "src/${file}: ${line}")
        endif()
      elseif(line MATCHES "<Q[A-Za-z]*>" AND NOT folder IN_LIST qt_folders)
        list(APPEND violations "src/${file}: ${line} (Qt outside ${qt_folders})")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  list(JOIN violations "\n" text)
  message(FATAL_ERROR "Includes across the layering of docs/HACKING.md:\n${text}")
endif()
list(LENGTH folders count)
message(STATUS "The includes of ${count} folders of src/ follow the layering.")
