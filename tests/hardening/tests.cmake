# Hardening: the limits of a line, regression tests of the fuzzing
# findings, and the front end killed in its saves and run for a long time.
# The crash-safety and soak tests run briefly here; `make crash-safety` and
# `make soak` run them at full length.
quenmark_add_tests(quenmark_hardening_tests
  hardening/limits_test.cpp
  hardening/loaded_calculator.cpp
)
add_dependencies(quenmark_hardening_tests quenmark_modules quenmark_resources)

quenmark_add_tests(quenmark_endurance_tests
  hardening/crash_safety_test.cpp
  hardening/soak_test.cpp
  hardening/save_memory_test.cpp
  hardening/console_process.cpp
)
add_dependencies(quenmark_endurance_tests quenmark-console quenmark_modules quenmark_resources)
