# Installation layout and the Debian package.
include(${CMAKE_CURRENT_LIST_DIR}/man_pages.cmake)

if(TARGET vantrel)
  install(TARGETS vantrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
# Started by vantrel itself (it looks there relative to its own folder), so no man page.
install(TARGETS vantrel-key-watchdog RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/vantrel)
install(FILES packaging/vantrel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/invalid.vantrel.vantrel.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES tools/replay/gear-walk.txt tools/replay/dog-leg.ini tools/replay/sequential.ini
        DESTINATION ${CMAKE_INSTALL_DATADIR}/vantrel)
foreach(size 16 32 48)
  set(icon ${PROJECT_SOURCE_DIR}/packaging/icons/vantrel-${size}.png)
  if(EXISTS ${icon})
    install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME vantrel.png)
  endif()
endforeach()
if(EXISTS ${PROJECT_SOURCE_DIR}/packaging/icons/vantrel.svg)
  install(FILES packaging/icons/vantrel.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
# Under the prefix, so that `cmake --install --prefix DIR` writes nothing outside DIR: the package
# (prefix /usr) puts them in /usr/lib, a /usr/local install in /usr/local/lib; udev and
# systemd-modules-load read both. Plain lib/, not the multiarch libdir, which they do not read.
install(FILES packaging/70-vantrel-uinput.rules DESTINATION lib/udev/rules.d)
install(FILES packaging/vantrel-uinput.conf DESTINATION lib/modules-load.d)

# The man pages.
vantrel_man_page(vantrel-replay
                 NAME "replay a scripted controller through Vantrel's settings and shift engine")
if(TARGET vantrel)
  vantrel_man_page(vantrel NAME "game controller as an H-pattern gear lever for driving games")
endif()

# The package's documents: copyright and changelog (compressed, as Debian keeps them).
set(VANTREL_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/vantrel)
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/packaging/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/debian/changelog
          ${PROJECT_BINARY_DIR}/packaging/changelog
  COMMAND ${VANTREL_GZIP} -9nf ${PROJECT_BINARY_DIR}/packaging/changelog
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/debian/changelog
  VERBATIM)
add_custom_target(vantrel-changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/packaging/changelog.gz packaging/debian/copyright
        DESTINATION ${VANTREL_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantrel)
set(CPACK_PACKAGE_CONTACT "Vantrel developers <dev@vantrel.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Game controller as an H-pattern gear lever for driving games")
# Read here rather than named through CPACK_PACKAGE_DESCRIPTION_FILE, which CPack escapes for XML
# (an apostrophe would reach the control file as "&apos;").
file(READ ${PROJECT_SOURCE_DIR}/packaging/debian/description VANTREL_DESCRIPTION)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS packaging/debian/description)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "${VANTREL_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt finds its SVG image format and icon engine as plugins, which shlibdeps cannot see; on Debian 12
# they are in libqt6svg6.
set(CPACK_DEBIAN_PACKAGE_DEPENDS libqt6svg6)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/debian/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
