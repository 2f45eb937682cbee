# The guide's texts and the help document lie beside the program.
file(GLOB_RECURSE MORVIN_CONTENT RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/Poradnik/* ${CMAKE_CURRENT_SOURCE_DIR}/pomoc/*)
foreach(item ${MORVIN_CONTENT})
  configure_file(${item} ${MORVIN_RUNTIME_DIR}/${item} COPYONLY)
endforeach()
install(DIRECTORY Poradnik pomoc DESTINATION ${CMAKE_INSTALL_DATADIR}/morvin-ng)
