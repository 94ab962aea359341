# Packages made by `cmake --build BUILD --target package` (CPack):
# on Linux a .deb, on Windows (the MinGW cross build) a .zip of what was built.

if(WIN32)
  # Windows users get a plain text of their own that Notepad shows: UTF-8
  # with a byte order mark, CRLF, Japanese first.
  set(VERSION ${PROJECT_VERSION})
  configure_file(docs/windows/README.txt.in ${CMAKE_BINARY_DIR}/README.txt @ONLY
                 NEWLINE_STYLE CRLF)
  install(FILES ${CMAKE_BINARY_DIR}/README.txt LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})
else()
  install(FILES README.md LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

set(VARNELKO_PACKAGE_MAINTAINER "Varnelko developers"
    CACHE STRING "Maintainer line of the packages")

set(CPACK_PACKAGE_NAME varnelko)
set(CPACK_PACKAGE_VENDOR "Varnelko developers")
set(CPACK_PACKAGE_CONTACT "${VARNELKO_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "batch converter for Jw_cad drawings")
set(CPACK_PACKAGE_DESCRIPTION
    "Varnelko rewrites every entity on a chosen layer of Jw_cad drawings (JWW) and
figures (JWS) in the auxiliary line colour and/or line type, writing converted
copies into another folder. It has a Qt desktop program in Japanese and the
command line program varnelko-cli.")
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "varnelko-${PROJECT_VERSION}-win64")
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  if(TARGET varnelko)
    # Qt loads its window system plugins at run time, out of dpkg-shlibdeps'
    # sight; without them the desktop program cannot open a window. The
    # Japanese fonts and Qt's own Japanese texts make the windows readable.
    set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, qt6-translations-l10n")
  endif()
endif()

include(CPack)
