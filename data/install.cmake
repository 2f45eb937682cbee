# Installed layout: bin/morvin-ng; share/morvin-ng/{Data,Poradnik,pomoc,machine,en};
# the desktop entry and the icon where desktops look for them.
install(DIRECTORY ${MORVIN_RUNTIME_DIR}/Data DESTINATION ${CMAKE_INSTALL_DATADIR}/morvin-ng)
# The English program's pictures that show words.
install(DIRECTORY ${MORVIN_RUNTIME_DIR}/en/Data DESTINATION ${CMAKE_INSTALL_DATADIR}/morvin-ng/en)
install(FILES morvin-ng.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${MORVIN_RUNTIME_DIR}/Data/Gfx/morvin-ng.png
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)
