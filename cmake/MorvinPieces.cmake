# Adds every subfolder of the current folder that has a CMakeLists.txt, in
# name order, the ones named in FIRST before the others. Without the Qt
# program (a core-only or Windows build) only the Qt-free pieces are taken.
set(MORVIN_QT_FREE_PIECES conformance store layer platform fuzz support wine wallpaper registry morvin-reg win98)

function(morvin_add_pieces)
  cmake_parse_arguments(ARG "" "" "FIRST" ${ARGN})
  file(GLOB children RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt)
  list(TRANSFORM children REPLACE "/CMakeLists.txt$" "")
  list(SORT children)
  foreach(first ${ARG_FIRST})
    list(REMOVE_ITEM children ${first})
  endforeach()
  foreach(dir ${ARG_FIRST} ${children})
    if(MORVIN_GUI OR dir IN_LIST MORVIN_QT_FREE_PIECES)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()
