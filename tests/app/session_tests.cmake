quenmark_add_tests(quenmark_session_tests
  app/line_session_test.cpp
  app/prepared_save_test.cpp
  app/rewritable_lines_test.cpp
  app/save_schedule_test.cpp
  app/prepared_save_mode_test.cpp
  app/input_history_test.cpp
  app/history_recall_test.cpp
  app/name_completion_test.cpp
  app/result_recall_test.cpp
  app/calculator_process_test.cpp
)
add_dependencies(quenmark_session_tests quenmark_module_example)
target_compile_definitions(quenmark_session_tests PRIVATE
  QUENMARK_EXAMPLE_MODULE_DIR="${QUENMARK_EXAMPLE_MODULE_DIR}/")

quenmark_add_tests(quenmark_console_tests
  console/console_test.cpp
  console/saved_work_test.cpp
  console/ending_test.cpp
  console/command_line_test.cpp
  console/terminal_text_test.cpp
  console/console_output_test.cpp
  console/scripting_test.cpp
  console/script_mode_test.cpp
  console/desktop_answers_test.cpp
  console/script_comment_test.cpp
  console/script_input_test.cpp
  console/interactive_test.cpp
  hardening/console_process.cpp
  console/line_editor_test.cpp
  console/saved_functions_process_test.cpp
  modules/module_start_test.cpp
  modules/module_crash_handler_test.cpp
)
target_link_libraries(quenmark_console_tests PRIVATE quenmark_console_parts)
add_dependencies(quenmark_console_tests quenmark-console quenmark_modules quenmark_resources
  quenmark_test_module_misbehaving quenmark_test_module_crash_in_init quenmark_test_module_no_info)
target_compile_definitions(quenmark_console_tests PRIVATE
  QUENMARK_MISBEHAVING_MODULE="${QUENMARK_TEST_MODULE_DIR}/misbehaving.vmx"
  QUENMARK_CRASH_IN_INIT_MODULE="${QUENMARK_TEST_MODULE_DIR}/crash_in_init.vmx"
  QUENMARK_NO_INFO_MODULE="${QUENMARK_TEST_MODULE_DIR}/no_info.vmx")
if(QUENMARK_SANITIZE)
  target_compile_definitions(quenmark_console_tests PRIVATE QUENMARK_SANITIZED_BUILD)
endif()
