quenmark_add_tests(quenmark_session_tests
  app/line_session_test.cpp
)

quenmark_add_tests(quenmark_console_tests
  console/console_test.cpp
)
add_dependencies(quenmark_console_tests quenmark-console quenmark_modules quenmark_resources)
