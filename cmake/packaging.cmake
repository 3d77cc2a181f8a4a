# Packs what `cmake --install` puts in place: a .deb of the Qt program, a .zip of the Windows one.
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  # CPack calls every mingw-w64 build win32, whatever its word size.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_SYSTEM_NAME win64)
  else()
    set(CPACK_SYSTEM_NAME win32)
  endif()
  # The program and its README at the top of the archive, ready to unpack into a folder.
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
elseif(VORLIX_QT)
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  # The build keeps its debug information; the package does not need it.
  set(CPACK_STRIP_FILES ON)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # Loaded at run time, so dpkg-shlibdeps cannot see them: Qt's X11 platform plugin, the Song
  # typeface the window asks for, and Qt's own Chinese for the buttons of its message boxes.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-noto-cjk")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
else()
  # Only the Qt and the Windows builds have a program to ship.
  return()
endif()

set(VORLIX_PACKAGE_MAINTAINER "Vorlix maintainers <maintainers@vorlix.invalid>"
    CACHE STRING "Who the packages name as their maintainer")

set(CPACK_PACKAGE_NAME vorlix-shutdown)
set(CPACK_PACKAGE_VENDOR Vorlix)
set(CPACK_PACKAGE_CONTACT "${VORLIX_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "shut down or restart the computer at a set time")
set(CPACK_PACKAGE_DESCRIPTION "A small desktop utility that shuts the computer down, or restarts it,
at a date and time you pick. Its interface is in Simplified Chinese.")

# `package_source` packs the source folder as it stands: without builds and Git's own files.
set(CPACK_SOURCE_IGNORE_FILES "/[.]git/" "/build[^/]*/")

include(CPack)
