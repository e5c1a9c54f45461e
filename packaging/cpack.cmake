# The Debian package: `make package` (or `cpack` in a build directory)
# writes quenmark_VERSION-RELEASE_ARCH.deb into the build directory. Its
# dependencies are computed from the installed binaries by dpkg-shlibdeps;
# the window program's platform plugins are loaded at run time and so named
# here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quenmark)
set(CPACK_PACKAGE_VERSION ${QUENMARK_PACKAGE_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quenmark developers")
set(CPACK_PACKAGE_CONTACT "The Quenmark developers <quenmark@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "expression calculator in a small window that stays on top")
set(CPACK_PACKAGE_DESCRIPTION
  "Quenmark is an expression calculator in one small, borderless window that
stays on top and can hide in the notification area. Expressions, variables
and @ commands are typed into a one-line input; results go into a log in
decimal (optionally through a number format mask), hexadecimal, octal or
binary. Functions and constants come from extension modules; variables and
the input history are kept between sessions. A unit-conversion window and
a terminal front end, quenmark-console, come with it.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quenmark.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARGET quenmark)
  # Qt's X11 platform plugin, loaded at run time; the fonts that the
  # windows' "Arial" and "Times New Roman" resolve to, and the Japanese face
  # that the Japanese language file asks for.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, fonts-vlgothic")
endif()

include(CPack)
