# Tests of the main window, its frame rules, the help window, the session
# end and the single-instance rule.

target_sources(quenmark_ui_tests PRIVATE
  main_window_lines_test.cpp
  main_window_completion_test.cpp
  main_window_log_test.cpp
  main_window_font_test.cpp
  main_window_frame_test.cpp
  main_window_show_test.cpp
  main_window_screens_test.cpp
  main_window_owned_windows_test.cpp
  main_window_session_end_test.cpp
  main_window_error_handler_test.cpp
  main_window_keys_test.cpp
  main_window_modules_on_demand_test.cpp
  accessible_tree_test.cpp
  single_instance_test.cpp
  ../support/section_writers.cpp
)

# The shipped modules, for the window on modules loaded on demand.
add_dependencies(quenmark_ui_tests quenmark_modules)
target_compile_definitions(quenmark_ui_tests PRIVATE QUENMARK_SHIPPED_MODULE_DIR="${QUENMARK_PROGRAM_DIR}/")

# The desktop program as a process. These tests use the program's own
# single-instance name, so they never run beside each other.
add_executable(quenmark_desktop_tests main.cpp main_window_program_test.cpp)
target_link_libraries(quenmark_desktop_tests PRIVATE quenmark_ui GTest::gtest Qt6::Widgets Qt6::Test)
target_include_directories(quenmark_desktop_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/..)
target_compile_definitions(quenmark_desktop_tests PRIVATE QUENMARK_PROGRAM_PATH="$<TARGET_FILE:quenmark>")
add_dependencies(quenmark_desktop_tests quenmark)
gtest_discover_tests(quenmark_desktop_tests
  DISCOVERY_TIMEOUT 60
  PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen RUN_SERIAL TRUE)

# The desktop program on an X server of its own with a window manager,
# lines typed into it, its run ended badly: a hanging or crashing module
# with an ending signal, a lost display, a file that cannot be written.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_test(NAME desktop.keeps_work
  COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/desktop_keeps_work.py
    --program-dir ${QUENMARK_PROGRAM_DIR}
    --module $<TARGET_FILE:quenmark_test_module_misbehaving>
    --init-crash $<TARGET_FILE:quenmark_test_module_crash_in_init>)
set_tests_properties(desktop.keeps_work PROPERTIES TIMEOUT 300)

# The primary selection exists only on an X server: the log's double-click
# test once more on an X server of its own.
find_program(QUENMARK_XVFB_RUN xvfb-run)
if(QUENMARK_XVFB_RUN)
  add_test(NAME ui.log_primary_selection_on_x
    COMMAND ${QUENMARK_XVFB_RUN} -a env QT_QPA_PLATFORM=xcb $<TARGET_FILE:quenmark_ui_tests>
      --gtest_filter=MainLogTest.ADoubleClickedNumberGoesToThePrimarySelection)
  # Passes only where the test ran and passed, never where it was skipped.
  set_tests_properties(ui.log_primary_selection_on_x PROPERTIES
    PASS_REGULAR_EXPRESSION "\\[       OK \\] MainLogTest\\.ADoubleClickedNumberGoesToThePrimarySelection" TIMEOUT 120)
endif()
