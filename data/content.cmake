# The guide's texts and the help document lie beside the program; the English
# ones, in the same layout, below en/.
file(GLOB_RECURSE MORVIN_CONTENT RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/Poradnik/* ${CMAKE_CURRENT_SOURCE_DIR}/pomoc/*
  ${CMAKE_CURRENT_SOURCE_DIR}/en/Poradnik/* ${CMAKE_CURRENT_SOURCE_DIR}/en/pomoc/*)
foreach(item ${MORVIN_CONTENT})
  configure_file(${item} ${MORVIN_RUNTIME_DIR}/${item} COPYONLY)
endforeach()
install(DIRECTORY Poradnik pomoc en DESTINATION ${CMAKE_INSTALL_DATADIR}/morvin-ng)
