# The outline effect's geometry and order, the start-up entry, and what the
# windows show that needs no window: unit conversion, module and language
# information (read from the example module too), transparency presets.
quenmark_add_tests(quenmark_helpers_tests
  app/outline_frames_test.cpp
  app/screen_placement_test.cpp
  app/startup_shortcut_test.cpp
  app/unit_conversion_test.cpp
  app/module_information_test.cpp
  app/module_quarantine_test.cpp
  app/module_index_test.cpp
  app/transparency_test.cpp
)
add_dependencies(quenmark_helpers_tests quenmark_module_example)
target_compile_definitions(quenmark_helpers_tests PRIVATE
  QUENMARK_EXAMPLE_MODULE_DIR="${QUENMARK_EXAMPLE_MODULE_DIR}/")
