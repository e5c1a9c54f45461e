# Installation. The program directory goes to <prefix>/lib/quenmark/ laid
# out as the build lays it out (executables, modules and resources side by
# side, found beside the executable), with links to the executables in
# <prefix>/bin/ and the desktop integration: the desktop entry, the icons of
# the hicolor theme, the AppStream metainfo and a man page per executable;
# the bash completion, the licence and the module interface (header and
# pkg-config file).
#
#   cmake --install BUILD_DIR --prefix PREFIX
#
# CPack packs the same files into a Debian package (packaging/cpack.cmake).

include(GNUInstallDirs)

set(QUENMARK_INSTALL_PROGRAM_DIR lib/quenmark)
set(QUENMARK_APPSTREAM_ID org.example.quenmark)
set(QUENMARK_APPLICATION_ICON_SIZES 16 32 48 64 128 256)

# The executables: the desktop program whenever it is part of the build.
set(quenmark_installed_programs quenmark-console)
if(TARGET quenmark)
  list(PREPEND quenmark_installed_programs quenmark)
endif()
install(TARGETS ${quenmark_installed_programs} RUNTIME DESTINATION ${QUENMARK_INSTALL_PROGRAM_DIR})

# The shipped extension modules (not the example module of the tests).
install(TARGETS quenmark_module_math quenmark_module_text quenmark_module_ops quenmark_module_numbers
  quenmark_module_units
  LIBRARY DESTINATION ${QUENMARK_INSTALL_PROGRAM_DIR})

list(TRANSFORM QUENMARK_RESOURCE_FILES PREPEND ${PROJECT_SOURCE_DIR}/resources/
  OUTPUT_VARIABLE quenmark_resource_sources)
install(FILES ${quenmark_resource_sources} DESTINATION ${QUENMARK_INSTALL_PROGRAM_DIR})
# Marks the installed program directory as the system's: every user, root
# included, keeps settings in the home directory.
install(FILES packaging/installed-copy DESTINATION ${QUENMARK_INSTALL_PROGRAM_DIR})

# Relative symbolic links, so that any prefix works; the program resolves
# them through /proc/self/exe and finds its directory under lib/quenmark.
set(quenmark_link_dir ${CMAKE_BINARY_DIR}/install-links)
file(MAKE_DIRECTORY ${quenmark_link_dir})
foreach(program IN LISTS quenmark_installed_programs)
  file(CREATE_LINK ../${QUENMARK_INSTALL_PROGRAM_DIR}/${program} ${quenmark_link_dir}/${program} SYMBOLIC)
  install(FILES ${quenmark_link_dir}/${program} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

# The desktop integration of the window program.
if(TARGET quenmark)
  install(FILES packaging/quenmark.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  # The release version comes from project(VERSION ...).
  configure_file(packaging/${QUENMARK_APPSTREAM_ID}.metainfo.xml.in
    ${CMAKE_BINARY_DIR}/metainfo/${QUENMARK_APPSTREAM_ID}.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/metainfo/${QUENMARK_APPSTREAM_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  foreach(size IN LISTS QUENMARK_APPLICATION_ICON_SIZES)
    install(FILES resources/icons/quenmark-${size}.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME quenmark.png)
  endforeach()
  install(FILES resources/icons/quenmark.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

# Man pages, compressed as the Debian policy asks.
set(quenmark_man_pages)
foreach(program IN LISTS quenmark_installed_programs)
  # The page's version line comes from project(VERSION ...).
  set(page ${CMAKE_BINARY_DIR}/man/${program}.1)
  configure_file(packaging/man/${program}.1.in ${CMAKE_BINARY_DIR}/man-source/${program}.1 @ONLY)
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/man-source/${program}.1 ${page}
    COMMAND gzip -9 -n -f ${page}
    DEPENDS ${CMAKE_BINARY_DIR}/man-source/${program}.1
    COMMENT "Compressing the man page of ${program}"
    VERBATIM)
  list(APPEND quenmark_man_pages ${page}.gz)
endforeach()
add_custom_target(quenmark_man_pages ALL DEPENDS ${quenmark_man_pages})
install(FILES ${quenmark_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quenmark)
# The licence in the machine-readable form Debian asks for.
install(FILES packaging/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quenmark)

# Completion of the terminal front end's options in bash.
install(FILES completion/quenmark-console DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# The module interface: the one header a module needs and a pkg-config file
# that names its folder and the program directory the modules go to. The
# file finds both from its own place, lib/pkgconfig beside lib/quenmark.
install(FILES src/vm/vmx.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quenmark)
configure_file(packaging/quenmark-vmx.pc.in ${CMAKE_BINARY_DIR}/pkgconfig/quenmark-vmx.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/pkgconfig/quenmark-vmx.pc DESTINATION lib/pkgconfig)

include(packaging/cpack.cmake)
