# Extension modules: the loader, the module tokenizers, the output callback
# and the shipped modules, all through real libraries loaded with dlopen.
include(${CMAKE_CURRENT_LIST_DIR}/../modules/test_modules.cmake)

quenmark_add_tests(quenmark_module_tests
  vm/vm_module_test.cpp
  vm/module_list_test.cpp
  vm/module_output_test.cpp
  vm/shipped_modules_test.cpp
  vm/function_accuracy_test.cpp
  vm/text_function_exactness_test.cpp
  vm/shipped_transcript_test.cpp
  support/transcript.cpp
  support/transcript_session.cpp
  vm/example_module_test.cpp
  expression/module_tokenizer_test.cpp
  modules/module_test_support.cpp
  modules/numbers_module_test.cpp
  modules/rounding_rule_test.cpp
  modules/text_characters_test.cpp
  modules/shipped_names_test.cpp
  modules/module_listing_test.cpp
  modules/module_folders_test.cpp
  modules/modules_on_demand_test.cpp
  modules/table_module_test.cpp
)
add_dependencies(quenmark_module_tests ${QUENMARK_TEST_MODULES} quenmark_modules quenmark_module_example)
target_include_directories(quenmark_module_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../modules)
target_compile_definitions(quenmark_module_tests PRIVATE
  QUENMARK_TEST_MODULE_DIR="${QUENMARK_TEST_MODULE_DIR}/"
  QUENMARK_MODULE_SCRATCH_DIR="${CMAKE_CURRENT_BINARY_DIR}/module_scratch/"
  QUENMARK_EXAMPLE_MODULE_DIR="${QUENMARK_EXAMPLE_MODULE_DIR}/"
  QUENMARK_SOURCE_DIR="${PROJECT_SOURCE_DIR}/")
target_link_libraries(quenmark_module_tests PRIVATE ${CMAKE_DL_LIBS})
