# Where `cmake --install` and the Debian package put things: the programs in
# bin, and the files the desktop looks for under share.
include(GNUInstallDirs)

install(TARGETS trvx_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_BINARY_DIR}/trvx.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The file type is worth having without the editor too: file managers name it.
install(FILES ${PROJECT_SOURCE_DIR}/resources/tarvin-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME tarvin.xml)

if(TARGET Tarvin)
  install(TARGETS Tarvin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/resources/tarvin.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/tarvin.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  # Fixed sizes too: some panels and menus do not scale SVG icons.
  set(ICON_SIZES 16 22 24 32 48 64 128 256)
  set(ICON_DIR ${PROJECT_BINARY_DIR}/icons)
  add_executable(render_icon ${PROJECT_SOURCE_DIR}/tools/render_icon.cpp)
  target_link_libraries(render_icon PRIVATE Qt6::Gui Qt6::Svg)
  add_custom_command(OUTPUT ${ICON_DIR}/stamp
    COMMAND render_icon ${PROJECT_SOURCE_DIR}/resources/tarvin.svg ${ICON_DIR} ${ICON_SIZES}
    COMMAND ${CMAKE_COMMAND} -E touch ${ICON_DIR}/stamp
    DEPENDS render_icon ${PROJECT_SOURCE_DIR}/resources/tarvin.svg
    COMMENT "Rendering the application icon")
  add_custom_target(icons ALL DEPENDS ${ICON_DIR}/stamp)
  foreach(size ${ICON_SIZES})
    install(FILES ${ICON_DIR}/${size}x${size}/apps/tarvin.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
endif()

# `cpack -G DEB` from the build directory. Debian's triggers refresh the
# MIME, desktop and icon caches, so the package needs no scripts of its own.
set(CPACK_PACKAGE_NAME tarvin)
set(CPACK_PACKAGE_VENDOR "Tarvin")
set(CPACK_PACKAGE_CONTACT "Tarvin maintainers <tarvin@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Translation editor for Pylon language files")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Tarvin edits the language files (.trvx) of the Pylon development environment\n"
       "and the language data embedded in its executables. trvx, its command-line\n"
       "tool, formats, compares, updates and checks language files in batch jobs.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(_tarvin_depends "libc6, libstdc++6, libgcc-s1")
if(TARGET Tarvin)
  # The Qt 6 runtime: the libraries the editor links and the platform plugins
  # (xcb, wayland) without which it cannot open a window.
  string(APPEND _tarvin_depends ", libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4),"
         " libqt6widgets6 (>= 6.4), libqt6svg6 (>= 6.4), qt6-qpa-plugins")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${_tarvin_depends}")
include(CPack)
