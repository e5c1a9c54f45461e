# Installation, in four components that CPack packs as four Debian
# packages (packaging/cpack.cmake):
#
#   common   quenmark-common: data under share/quenmark, the shipped modules
#            under lib/<multiarch>/quenmark/modules, the installed-copy marker
#   console  quenmark-console: the terminal front end and its line editor
#   desktop  quenmark: the desktop program, its desktop entry, icons and
#            AppStream metainfo
#   dev      quenmark-dev: the module header, the pkg-config file, the module
#            guide and the example module's source
#
# The executables sit in lib/<multiarch>/quenmark/ with relative links in
# bin/; they find the data and the modules from there through the paths of
# cmake/install_layout.cmake. Each package carries its copyright file and
# the changelogs made from NEWS.
#
#   cmake --install BUILD_DIR --prefix PREFIX [--component NAME]

set(QUENMARK_APPSTREAM_ID invalid.quenmark.quenmark)
set(QUENMARK_APPLICATION_ICON_SIZES 16 32 48 64 128 256)
set(QUENMARK_PACKAGE_REVISION 1)
set(QUENMARK_MAINTAINER "The Quenmark developers <quenmark@example.org>")
include(cmake/metainfo.cmake)

# Where installed binaries are stripped (cmake --install --strip, CPack),
# they also lose the sections Debian's tools remove (packaging/strip).
function(quenmark_install_strip component destination)
  set(files)
  foreach(target IN LISTS ARGN)
    list(APPEND files "\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${destination}/$<TARGET_FILE_NAME:${target}>")
  endforeach()
  list(JOIN files "\" \"" files)
  install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${PROJECT_SOURCE_DIR}/packaging/strip\" \"${files}\" COMMAND_ERROR_IS_FATAL ANY)
  endif()" COMPONENT ${component})
endfunction()

# --- quenmark-common --------------------------------------------------------
set(quenmark_shipped_modules quenmark_module_math quenmark_module_text quenmark_module_ops quenmark_module_numbers
  quenmark_module_units)
install(TARGETS ${quenmark_shipped_modules} LIBRARY DESTINATION ${QUENMARK_INSTALL_MODULE_DIR} COMPONENT common)
quenmark_install_strip(common ${QUENMARK_INSTALL_MODULE_DIR} ${quenmark_shipped_modules})
list(TRANSFORM QUENMARK_RESOURCE_FILES PREPEND ${PROJECT_SOURCE_DIR}/resources/
  OUTPUT_VARIABLE quenmark_resource_sources)
install(FILES ${quenmark_resource_sources} DESTINATION ${QUENMARK_INSTALL_DATA_DIR} COMPONENT common)
# Marks the program folder as the system's: every user, root included, keeps
# settings at home, and the data and modules are looked up where installed.
install(FILES packaging/installed-copy DESTINATION ${QUENMARK_INSTALL_PROGRAM_DIR} COMPONENT common)
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quenmark-common COMPONENT common)

# --- the executables: quenmark-console and quenmark -------------------------
set(quenmark_installed_programs quenmark-console)
set(quenmark-console_component console)
if(TARGET quenmark)
  list(APPEND quenmark_installed_programs quenmark)
  set(quenmark_component desktop)
endif()

# Relative links, so that any prefix works; the program resolves them
# through /proc/self/exe and so finds its own folder.
set(quenmark_link_dir ${CMAKE_BINARY_DIR}/install-links)
file(MAKE_DIRECTORY ${quenmark_link_dir})
file(RELATIVE_PATH quenmark_bin_to_program /quenmark-prefix/${CMAKE_INSTALL_BINDIR}
  /quenmark-prefix/${QUENMARK_INSTALL_PROGRAM_DIR})

# Man pages, compressed as the Debian policy asks.
foreach(program IN LISTS quenmark_installed_programs)
  set(component ${${program}_component})
  install(TARGETS ${program} RUNTIME DESTINATION ${QUENMARK_INSTALL_PROGRAM_DIR} COMPONENT ${component})
  quenmark_install_strip(${component} ${QUENMARK_INSTALL_PROGRAM_DIR} ${program})
  file(CREATE_LINK ${quenmark_bin_to_program}/${program} ${quenmark_link_dir}/${program} SYMBOLIC)
  install(FILES ${quenmark_link_dir}/${program} DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${component})
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
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${component})
endforeach()
add_custom_target(quenmark_man_pages ALL DEPENDS ${quenmark_man_pages})

# The console's line editor, loaded from beside the console.
install(TARGETS quenmark_console_editor LIBRARY DESTINATION ${QUENMARK_INSTALL_PROGRAM_DIR} COMPONENT console)
quenmark_install_strip(console ${QUENMARK_INSTALL_PROGRAM_DIR} quenmark_console_editor)
# Completion of the terminal front end's options in bash.
install(FILES completion/quenmark-console DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
  COMPONENT console)

# The desktop integration, under the one AppStream ID.
if(TARGET quenmark)
  set(quenmark_desktop_entry ${CMAKE_BINARY_DIR}/applications/${QUENMARK_APPSTREAM_ID}.desktop)
  configure_file(packaging/quenmark.desktop.in ${quenmark_desktop_entry} @ONLY)
  install(FILES ${quenmark_desktop_entry} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT desktop)
  set(quenmark_metainfo ${CMAKE_BINARY_DIR}/metainfo/${QUENMARK_APPSTREAM_ID}.metainfo.xml)
  quenmark_write_metainfo(${quenmark_metainfo} "${QUENMARK_SCREENSHOT_URL}")
  install(FILES ${quenmark_metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT desktop)
  foreach(size IN LISTS QUENMARK_APPLICATION_ICON_SIZES)
    install(FILES resources/icons/quenmark-${size}.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
      RENAME ${QUENMARK_APPSTREAM_ID}.png COMPONENT desktop)
  endforeach()
  install(FILES resources/icons/quenmark.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
    RENAME ${QUENMARK_APPSTREAM_ID}.svg COMPONENT desktop)
endif()

# --- quenmark-dev -----------------------------------------------------------
install(FILES src/vm/vmx.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quenmark COMPONENT dev)
# The pkg-config file names plain paths under the prefix the files are
# installed to (CPack's /usr included): no "..", and a sysroot given through
# PKG_CONFIG_SYSROOT_DIR applies to them as for every other package. It is
# written at install time straight into its place, as each installation has
# a prefix of its own.
install(CODE "
  set(QUENMARK_PC_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
  set(QUENMARK_INSTALL_INCLUDEDIR \"${CMAKE_INSTALL_INCLUDEDIR}\")
  set(QUENMARK_INSTALL_MODULE_DIR \"${QUENMARK_INSTALL_MODULE_DIR}\")
  set(QUENMARK_PACKAGE_VERSION \"${QUENMARK_PACKAGE_VERSION}\")
  set(pc_file \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${QUENMARK_INSTALL_PKGCONFIG_DIR}/quenmark-vmx.pc\")
  message(STATUS \"Installing: \${pc_file}\")
  configure_file(\"${PROJECT_SOURCE_DIR}/packaging/quenmark-vmx.pc.in\" \"\${pc_file}\" @ONLY)" COMPONENT dev)
install(FILES docs/modules.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quenmark-dev COMPONENT dev)
install(FILES modules/example/sample.c DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quenmark-dev/examples
  COMPONENT dev)

# --- every package: copyright, changelogs, lintian overrides ----------------
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(quenmark_news_tool ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/packaging/news.py)
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/NEWS)
execute_process(COMMAND ${quenmark_news_tool} check ${PROJECT_SOURCE_DIR}/NEWS ${QUENMARK_PACKAGE_VERSION}
  COMMAND_ERROR_IS_FATAL ANY)
set(quenmark_doc_build ${CMAKE_BINARY_DIR}/package-doc)
file(MAKE_DIRECTORY ${quenmark_doc_build})
execute_process(COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/NEWS
  OUTPUT_FILE ${quenmark_doc_build}/changelog.gz COMMAND_ERROR_IS_FATAL ANY)

set(quenmark_package_components common console dev)
set(quenmark_package_name_common quenmark-common)
set(quenmark_package_name_console quenmark-console)
set(quenmark_package_name_dev quenmark-dev)
set(quenmark_package_name_desktop quenmark)
if(TARGET quenmark)
  list(APPEND quenmark_package_components desktop)
endif()
foreach(component IN LISTS quenmark_package_components)
  set(package ${quenmark_package_name_${component}})
  set(doc ${CMAKE_INSTALL_DATADIR}/doc/${package})
  execute_process(COMMAND ${quenmark_news_tool} changelog ${PROJECT_SOURCE_DIR}/NEWS ${package}
    ${QUENMARK_PACKAGE_REVISION} ${QUENMARK_MAINTAINER} ${quenmark_doc_build}/${package}.changelog.Debian
    COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND gzip -9 -n -f ${quenmark_doc_build}/${package}.changelog.Debian COMMAND_ERROR_IS_FATAL ANY)
  install(FILES ${quenmark_doc_build}/${package}.changelog.Debian.gz DESTINATION ${doc}
    RENAME changelog.Debian.gz COMPONENT ${component})
  install(FILES ${quenmark_doc_build}/changelog.gz DESTINATION ${doc} COMPONENT ${component})
  # The licence in the machine-readable form Debian asks for.
  install(FILES packaging/copyright DESTINATION ${doc} COMPONENT ${component})
  if(EXISTS ${PROJECT_SOURCE_DIR}/packaging/lintian/${package})
    install(FILES packaging/lintian/${package} DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
      COMPONENT ${component})
  endif()
endforeach()

# What `make run` builds: the program directory alone, without the tests
# and benchmarks.
add_custom_target(quenmark_program_directory)
add_dependencies(quenmark_program_directory ${quenmark_installed_programs} quenmark_console_editor
  ${quenmark_shipped_modules} quenmark_resources)

include(packaging/cpack.cmake)
