# The installation: `cmake --install` of this build into a prefix inside
# the build directory, checked step by step (tests/install/check_install),
# and the artwork that is installed and compiled into the window program.
set(quenmark_install_prefix ${CMAKE_BINARY_DIR}/install-test)
set(quenmark_install_check ${CMAKE_CURRENT_SOURCE_DIR}/install/check_install)
if(TARGET quenmark)
  set(quenmark_install_desktop 1)
else()
  set(quenmark_install_desktop 0)
endif()

function(quenmark_add_install_check step)
  add_test(NAME install.${step}
    COMMAND ${quenmark_install_check} ${step} ${CMAKE_BINARY_DIR} ${quenmark_install_prefix} ${quenmark_install_desktop})
endfunction()

quenmark_add_install_check(prepare)
quenmark_add_install_check(cleanup)
set_tests_properties(install.prepare PROPERTIES FIXTURES_SETUP quenmark_install)
set_tests_properties(install.cleanup PROPERTIES FIXTURES_CLEANUP quenmark_install)
foreach(step layout console module-sdk licence desktop-entry metainfo)
  quenmark_add_install_check(${step})
  set_tests_properties(install.${step} PROPERTIES FIXTURES_REQUIRED quenmark_install)
endforeach()
# Needs no installation: the metainfo is written by itself.
quenmark_add_install_check(screenshots)

if(TARGET quenmark_ui)
  find_package(Qt6 REQUIRED COMPONENTS Widgets)
  add_executable(quenmark_artwork_tests ui/main.cpp install/artwork_test.cpp)
  target_link_libraries(quenmark_artwork_tests PRIVATE quenmark_ui GTest::gtest Qt6::Widgets)
  target_compile_definitions(quenmark_artwork_tests PRIVATE
    QUENMARK_ICONS_DIR="${PROJECT_SOURCE_DIR}/resources/icons")
  gtest_discover_tests(quenmark_artwork_tests
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endif()

# The Debian packages: packed by cpack into a folder of the build, unpacked
# into scratch roots and run from there (tests/install/check_package). The
# sanitizer build's binaries are no packages to check.
if(NOT QUENMARK_SANITIZE)
  set(quenmark_package_work ${CMAKE_BINARY_DIR}/package-test)
  set(quenmark_package_check ${CMAKE_CURRENT_SOURCE_DIR}/install/check_package)
  function(quenmark_add_package_check step)
    add_test(NAME package.${step}
      COMMAND ${quenmark_package_check} ${step} ${CMAKE_BINARY_DIR} ${quenmark_package_work} ${quenmark_install_desktop})
  endfunction()
  quenmark_add_package_check(prepare)
  quenmark_add_package_check(cleanup)
  set_tests_properties(package.prepare PROPERTIES FIXTURES_SETUP quenmark_package)
  set_tests_properties(package.cleanup PROPERTIES FIXTURES_CLEANUP quenmark_package)
  foreach(step split console module lintian)
    quenmark_add_package_check(${step})
    set_tests_properties(package.${step} PROPERTIES FIXTURES_REQUIRED quenmark_package)
  endforeach()
endif()
