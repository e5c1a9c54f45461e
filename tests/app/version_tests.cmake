quenmark_add_tests(quenmark_version_tests
  app/version_info_test.cpp
)
