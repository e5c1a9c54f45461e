# Test modules: small libraries built from one source, each keeping or
# breaking one rule of the module interface. They go to their own directory,
# never to the program directory.
set(QUENMARK_TEST_MODULE_DIR ${CMAKE_CURRENT_BINARY_DIR}/test_modules)
set(QUENMARK_TEST_MODULE_SOURCE ${CMAKE_CURRENT_LIST_DIR}/test_module.c)
set(QUENMARK_TEST_MODULES "")

# quenmark_test_module(file_name definition...) builds file_name.vmx.
function(quenmark_test_module file_name)
  set(target quenmark_test_module_${file_name})
  add_library(${target} MODULE ${QUENMARK_TEST_MODULE_SOURCE})
  target_compile_definitions(${target} PRIVATE ${ARGN})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src ${CMAKE_CURRENT_FUNCTION_LIST_DIR})
  target_link_libraries(${target} PRIVATE quenmark_options)
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    SUFFIX ".vmx"
    OUTPUT_NAME ${file_name}
    C_STANDARD 11
    C_STANDARD_REQUIRED ON
    C_VISIBILITY_PRESET hidden
    LIBRARY_OUTPUT_DIRECTORY ${QUENMARK_TEST_MODULE_DIR})
  set(QUENMARK_TEST_MODULES ${QUENMARK_TEST_MODULES} ${target} PARENT_SCOPE)
endfunction()

# quenmark_table_test_module(file_name definition...) builds file_name.vmx
# from table_test_module.c, on the entry points the math and numbers
# modules share.
function(quenmark_table_test_module file_name)
  set(QUENMARK_TEST_MODULE_SOURCE ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/table_test_module.c)
  quenmark_test_module(${file_name} ${ARGN})
  set(target quenmark_test_module_${file_name})
  target_sources(${target} PRIVATE
    ${PROJECT_SOURCE_DIR}/modules/math/math_table.c ${PROJECT_SOURCE_DIR}/modules/math/math_values.c)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/modules)
  target_link_libraries(${target} PRIVATE m)
  set(QUENMARK_TEST_MODULES ${QUENMARK_TEST_MODULES} PARENT_SCOPE)
endfunction()

# Modules that load.
quenmark_test_module(valid TM_ID=1)
quenmark_test_module(no_init TM_ID=3 TM_NO_INIT)
quenmark_test_module(level_1a TM_ID=4 TM_LEVEL_ID=1)
quenmark_test_module(const_only TM_NO_FUNCTIONS)
quenmark_test_module(funcs_only TM_NO_CONSTANTS)
quenmark_test_module(both_1a TM_TYPE_ID=2 TM_LEVEL_ID=1 TM_TOKENIZER)
quenmark_test_module(tokenizer_a TM_ID=1 TM_TYPE_ID=1 TM_LEVEL_ID=1 TM_NO_CONSTANTS TM_NO_FUNCTIONS TM_TOKENIZER)
quenmark_test_module(tokenizer_b TM_ID=2 TM_TYPE_ID=1 TM_LEVEL_ID=1 TM_NO_CONSTANTS TM_NO_FUNCTIONS TM_TOKENIZER)
quenmark_test_module(tokenizer_hash TM_ID=3 TM_TYPE_ID=1 TM_LEVEL_ID=1 TM_NO_CONSTANTS TM_NO_FUNCTIONS TM_TOKENIZER
  TM_TOKEN_STARTS)
quenmark_test_module(dup_a TM_ID=1 TM_CONST_SET=5 TM_FUNC_SET=5)
quenmark_test_module(dup_b TM_ID=2 TM_CONST_SET=5 TM_FUNC_SET=5)
quenmark_test_module(odd_sizes TM_ID=5 TM_CONST_SET=2 TM_FUNC_SET=2)
quenmark_test_module(misbehaving TM_NO_CONSTANTS TM_FUNC_SET=6)
quenmark_table_test_module(table_functions)
quenmark_table_test_module(table_constants TM_WITH_CONSTANTS)

# Modules that load but fail while their tables are entered.
quenmark_test_module(bad_tag TM_CONST_SET=1)
quenmark_test_module(null_const_name TM_CONST_SET=3)
quenmark_test_module(null_const_table TM_CONST_SET=4)
quenmark_test_module(null_func_name TM_NO_CONSTANTS TM_FUNC_SET=3)

# Modules that fail to load.
quenmark_test_module(init_fail TM_INIT_RESULT=1)
quenmark_test_module(init_fail_other TM_INIT_RESULT=-1)
quenmark_test_module(no_info TM_NO_INFO)
quenmark_test_module(null_info TM_NULL_INFO)
quenmark_test_module(info_size_32 TM_INFO_SIZE=32)
quenmark_test_module(info_size_64 TM_INFO_SIZE=64)
quenmark_test_module(null_type TM_NULL_TYPE)
quenmark_test_module(null_comment TM_NULL_COMMENT)
quenmark_test_module(unknown_type TM_TYPE_ID=3)
quenmark_test_module(lower_case_type TM_TYPE_ID=4 TM_LEVEL_ID=1 TM_TOKENIZER)
quenmark_test_module(level_2 TM_LEVEL_ID=2)
quenmark_test_module(level_trailing_blank TM_LEVEL_ID=3)
quenmark_test_module(level_lower_case TM_LEVEL_ID=4)
quenmark_test_module(both_level_1 TM_TYPE_ID=2 TM_LEVEL_ID=0 TM_TOKENIZER)
quenmark_test_module(tokenizer_level_1 TM_TYPE_ID=1 TM_LEVEL_ID=0 TM_NO_CONSTANTS TM_NO_FUNCTIONS TM_TOKENIZER)
quenmark_test_module(tokenizer_no_entry TM_TYPE_ID=1 TM_LEVEL_ID=1 TM_NO_CONSTANTS TM_NO_FUNCTIONS)
quenmark_test_module(no_tables TM_NO_CONSTANTS TM_NO_FUNCTIONS)
quenmark_test_module(const_count_only TM_NO_CONST_TABLE TM_NO_FUNCTIONS)
quenmark_test_module(func_no_table TM_NO_CONSTANTS TM_NO_FUNC_TABLE)
quenmark_test_module(func_no_dispatcher TM_NO_CONSTANTS TM_NO_DISPATCHER)

# A module that crashes the program while it loads.
quenmark_test_module(crash_in_init TM_ID=7 TM_CRASH_IN_INIT)

# A file with the extension that is no library at all.
set(QUENMARK_NOT_A_LIBRARY ${QUENMARK_TEST_MODULE_DIR}/not_a_library.vmx)
file(WRITE ${QUENMARK_NOT_A_LIBRARY} "This text file only has the extension of a module.\n")

# The build's check that modules share only header-only pieces with the core.
add_test(NAME modules.include_check
  COMMAND ${CMAKE_COMMAND} -DCHECK=${PROJECT_SOURCE_DIR}/modules/check_module_includes.cmake
    -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/module_include_check
    -P ${CMAKE_CURRENT_LIST_DIR}/module_include_check_test.cmake)
