# The default machine (registry and MsDos.sys) that a first start provisions.
foreach(item default.reg MsDos.sys)
  configure_file(machine/${item} ${MORVIN_RUNTIME_DIR}/machine/${item} COPYONLY)
endforeach()
install(FILES machine/default.reg machine/MsDos.sys DESTINATION ${CMAKE_INSTALL_DATADIR}/morvin-ng/machine)
