# The layout that `cmake --install` and the release archives share. A plug-in folder holds the
# module and the subfolder korvel-lib, which holds Skia under a name no host's scanner takes
# for a plug-in: hosts look at *.so or *.clap (Linux) and *.dll (Windows), some in subfolders
# too. On Linux that name is Skia's versioned soname, which the modules need and find through
# their run path $ORIGIN/korvel-lib; the Windows modules load libSkiaSharp.skia from there by
# full path (graphics/platform/win/WinSkiaLibrary.cpp).
set(KORVEL_SKIA_FOLDER korvel-lib)
# The modules of the build tree find Skia in the same place.
if(WIN32)
  set(KORVEL_SKIA_INSTALL_NAME libSkiaSharp.skia)
  if(KORVEL_SKIA_FOUND)
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/bin/${KORVEL_SKIA_FOLDER})
    file(COPY_FILE ${KORVEL_SKIA_LIBRARY} ${CMAKE_BINARY_DIR}/bin/${KORVEL_SKIA_FOLDER}/${KORVEL_SKIA_INSTALL_NAME}
         ONLY_IF_DIFFERENT)
  endif()
else()
  set(KORVEL_SKIA_INSTALL_NAME ${KORVEL_SKIA_SONAME})
  if(KORVEL_SKIA_FOUND)
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/bin/${KORVEL_SKIA_FOLDER})
    file(CREATE_LINK ../libSkiaSharp.so ${CMAKE_BINARY_DIR}/bin/${KORVEL_SKIA_FOLDER}/${KORVEL_SKIA_INSTALL_NAME} SYMBOLIC)
  endif()
endif()

# korvel_install_module(<target> DESTINATION <folder> COMPONENT <component>): the module and
# its Skia, as above.
function(korvel_install_module target)
  cmake_parse_arguments(I "" "DESTINATION;COMPONENT" "" ${ARGN})
  # The same run path in the build tree, where it names no build folder either.
  set_target_properties(${target} PROPERTIES BUILD_WITH_INSTALL_RPATH ON INSTALL_RPATH "$ORIGIN/${KORVEL_SKIA_FOLDER}")
  install(TARGETS ${target} LIBRARY DESTINATION ${I_DESTINATION} COMPONENT ${I_COMPONENT})
  if(KORVEL_SKIA_FOUND)
    install(FILES ${KORVEL_SKIA_LIBRARY} DESTINATION ${I_DESTINATION}/${KORVEL_SKIA_FOLDER}
            RENAME ${KORVEL_SKIA_INSTALL_NAME} COMPONENT ${I_COMPONENT})
  endif()
endfunction()
