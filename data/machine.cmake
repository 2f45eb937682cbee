# The default machines (a Polish and an English registry, one MsDos.sys) that
# a first start provisions.
foreach(item default.reg english.reg MsDos.sys)
  configure_file(machine/${item} ${MORVIN_RUNTIME_DIR}/machine/${item} COPYONLY)
endforeach()
install(FILES machine/default.reg machine/english.reg machine/MsDos.sys DESTINATION ${CMAKE_INSTALL_DATADIR}/morvin-ng/machine)
