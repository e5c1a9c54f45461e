# The platform tests are part of quenmark_definitions_tests (definitions/tests.cmake).
