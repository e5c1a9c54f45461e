# The outline effect's geometry and order, and the start-up entry.
quenmark_add_tests(quenmark_helpers_tests
  app/outline_frames_test.cpp
  app/startup_shortcut_test.cpp
)
