# The Debian packages: `make package` (or `cpack` in a build directory)
# writes one .deb per install component (cmake/install.cmake) into the
# build directory as NAME_VERSION-REVISION_ARCH.deb. The libraries each
# needs are found by dpkg-shlibdeps; what is loaded at run time (Qt's
# platform plugins, the fonts) is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quenmark)
set(CPACK_PACKAGE_VERSION ${QUENMARK_PACKAGE_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quenmark developers")
set(CPACK_PACKAGE_CONTACT "${QUENMARK_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The install scripts see /usr as their prefix, so that the pkg-config file
# names the paths of the installed system.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${quenmark_package_components})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${QUENMARK_PACKAGE_REVISION})
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(quenmark_same_version "(= ${QUENMARK_PACKAGE_VERSION}-${QUENMARK_PACKAGE_REVISION})")
set(quenmark_long_description
"Quenmark is an expression calculator. Expressions, assignments and @
commands are typed into a one-line input; results are shown in decimal
(optionally through a number format mask), hexadecimal, octal or binary.
Functions and constants come from extension modules; variables and the
input history are kept between sessions.")

set(CPACK_DEBIAN_COMMON_PACKAGE_NAME quenmark-common)
set(CPACK_DEBIAN_COMMON_DESCRIPTION "expression calculator - data and shipped modules
${quenmark_long_description}

This package holds the message, help, unit and language files in English,
German and Japanese, and the extension modules shipped with Quenmark.")

set(CPACK_DEBIAN_CONSOLE_PACKAGE_NAME quenmark-console)
set(CPACK_DEBIAN_CONSOLE_PACKAGE_DEPENDS "quenmark-common ${quenmark_same_version}")
set(CPACK_DEBIAN_CONSOLE_DESCRIPTION "expression calculator - terminal front end
${quenmark_long_description}

This package holds quenmark-console, which calculates interactively with
line editing and completion, or takes expressions and script files as
arguments. It needs no graphical toolkit.")

set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME quenmark)
# Qt's X11 platform plugin is loaded at run time; Wayland sessions want its
# Wayland plugin. The fonts are those the windows' "Arial" and "Times New
# Roman" resolve to, and the Japanese face the Japanese language file asks for.
set(CPACK_DEBIAN_DESKTOP_PACKAGE_DEPENDS "quenmark-common ${quenmark_same_version}, qt6-qpa-plugins")
set(CPACK_DEBIAN_DESKTOP_PACKAGE_RECOMMENDS "qt6-wayland, libqt6svg6, fonts-liberation, fonts-vlgothic")
set(CPACK_DEBIAN_DESKTOP_DESCRIPTION "expression calculator in a small window that stays on top
${quenmark_long_description}

This package holds the desktop program: one small, borderless window that
stays on top and can hide in the notification area, with a log above the
input line and a unit-conversion window.")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME quenmark-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_DESCRIPTION "expression calculator - module development files
${quenmark_long_description}

This package holds what writing an extension module takes: the header
vmx.h, the pkg-config file quenmark-vmx, the module guide and the source
of an example module.")

include(CPack)
