# Where an installation puts things, relative to its prefix, and the paths
# the installed programs use to find their data and shipped modules from
# their own folder (platform/installed_layout.h). Relative paths keep every
# prefix working, and a package unpacked into any root.
#
#   PREFIX/lib/<multiarch>/quenmark/          executables, console line editor
#   PREFIX/lib/<multiarch>/quenmark/modules/  the shipped modules
#   PREFIX/share/quenmark/                    messages, help, units, languages
include(GNUInstallDirs)

if(CMAKE_LIBRARY_ARCHITECTURE)
  set(QUENMARK_INSTALL_LIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE})
  set(QUENMARK_MULTIARCH ${CMAKE_LIBRARY_ARCHITECTURE})
else()
  set(QUENMARK_INSTALL_LIBDIR lib)
  set(QUENMARK_MULTIARCH "<multiarch>")
endif()
set(QUENMARK_INSTALL_PROGRAM_DIR ${QUENMARK_INSTALL_LIBDIR}/quenmark)
set(QUENMARK_INSTALL_MODULE_DIR ${QUENMARK_INSTALL_PROGRAM_DIR}/modules)
set(QUENMARK_INSTALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/quenmark)
set(QUENMARK_INSTALL_PKGCONFIG_DIR ${QUENMARK_INSTALL_LIBDIR}/pkgconfig)

# The data and module folders as seen from the program folder, with "/".
file(RELATIVE_PATH QUENMARK_DATA_FROM_PROGRAM /quenmark-prefix/${QUENMARK_INSTALL_PROGRAM_DIR}
  /quenmark-prefix/${QUENMARK_INSTALL_DATA_DIR})
file(RELATIVE_PATH QUENMARK_MODULES_FROM_PROGRAM /quenmark-prefix/${QUENMARK_INSTALL_PROGRAM_DIR}
  /quenmark-prefix/${QUENMARK_INSTALL_MODULE_DIR})
configure_file(${PROJECT_SOURCE_DIR}/src/platform/installed_paths.h.in
  ${PROJECT_BINARY_DIR}/generated/platform/installed_paths.h @ONLY)
