# The pictures beside the program (Data/Gfx/Bmp/..., the icon) are drawn at
# build time by morvin-artwork into the executable's folder.
if(TARGET morvin-artwork)
  set(MORVIN_ARTWORK_STAMP ${CMAKE_CURRENT_BINARY_DIR}/artwork.stamp)
  add_custom_command(OUTPUT ${MORVIN_ARTWORK_STAMP}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:morvin-artwork> ${MORVIN_RUNTIME_DIR}
    COMMAND ${CMAKE_COMMAND} -E touch ${MORVIN_ARTWORK_STAMP}
    DEPENDS morvin-artwork
    COMMENT "Drawing the program's pictures into ${MORVIN_RUNTIME_DIR}/Data")
  add_custom_target(morvin_artwork ALL DEPENDS ${MORVIN_ARTWORK_STAMP})
  foreach(user morvin-ng morvin-screenshot)
    if(TARGET ${user})
      add_dependencies(${user} morvin_artwork)
    endif()
  endforeach()
endif()
