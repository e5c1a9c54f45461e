quenmark_add_tests(quenmark_settings_tests
  app/hex_codec_test.cpp
  app/settings_file_test.cpp
  app/settings_test.cpp
  app/saved_variables_test.cpp
  app/history_section_test.cpp
)
