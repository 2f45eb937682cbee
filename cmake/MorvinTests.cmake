# How test programs are declared: ones that start the built program, and
# ones that drive windows offscreen.

# morvin_program_test(NAME name TARGET target SOURCES ...): a test program
# that starts the built morvin-ng (its path in MORVIN_NG_BINARY) on a machine
# of its own; skipped when the program itself is not built.
function(morvin_program_test)
  cmake_parse_arguments(ARG "" "NAME;TARGET" "SOURCES" ${ARGN})
  if(NOT TARGET morvin-ng)
    return()
  endif()
  find_package(GTest REQUIRED)
  add_executable(${ARG_TARGET} ${ARG_SOURCES})
  target_link_libraries(${ARG_TARGET} PRIVATE morvin_test_support GTest::gtest_main)
  target_compile_definitions(${ARG_TARGET} PRIVATE MORVIN_NG_BINARY="$<TARGET_FILE:morvin-ng>")
  add_dependencies(${ARG_TARGET} morvin-ng)
  set_target_properties(${ARG_TARGET} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
  add_test(NAME ${ARG_NAME} COMMAND ${ARG_TARGET})
endfunction()

# morvin_gui_test(NAME name TARGET target SOURCES ... LINK ...): a test
# program of windows with the GUI test support's main, run offscreen.
function(morvin_gui_test)
  cmake_parse_arguments(ARG "" "NAME;TARGET" "SOURCES;LINK" ${ARGN})
  add_executable(${ARG_TARGET} ${ARG_SOURCES})
  target_link_libraries(${ARG_TARGET} PRIVATE ${ARG_LINK} morvin_gui_test_support)
  add_test(NAME ${ARG_NAME} COMMAND ${ARG_TARGET})
  set_tests_properties(${ARG_NAME} PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endfunction()
