# The unit-conversion window, the options dialog and the splash window. The
# dialog tests read the shipped languages and load the example module.
target_sources(quenmark_ui_tests PRIVATE
  unit_window_test.cpp
  unit_window_logic_test.cpp
  unit_window_unit_name_test.cpp
  unit_window_languages_test.cpp
  japanese_font_test.cpp
  options_dialog_test.cpp
  options_dialog_controls_test.cpp
  splash_window_test.cpp
)
add_dependencies(quenmark_ui_tests quenmark_module_example)
target_compile_definitions(quenmark_ui_tests PRIVATE
  QUENMARK_DIALOG_TEST_RESOURCES="${PROJECT_SOURCE_DIR}/resources/"
  QUENMARK_DIALOG_TEST_MODULES="${QUENMARK_EXAMPLE_MODULE_DIR}/")
