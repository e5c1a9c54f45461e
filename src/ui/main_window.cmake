# The main window, the single-instance rule, the help window and the
# desktop program itself.
target_sources(quenmark_ui PRIVATE
  main_window.cpp
  main_window_actions.cpp
  main_window_completion.cpp
  main_window_frame.cpp
  main_window_frame_rules.cpp
  main_window_font.cpp
  main_window_icons.cpp
  main_window_log.cpp
  log_number_span.cpp
  log_line_wrap.cpp
  main_window_tray.cpp
  main_window_session_end.cpp
  session_keeper.cpp
  main_window_error_handler.cpp
  single_instance.cpp
  help_window.cpp
  window_keys.cpp
  window_names.cpp
)

add_executable(quenmark desktop_main.cpp)
target_link_libraries(quenmark PRIVATE quenmark_ui)
set_target_properties(quenmark PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QUENMARK_PROGRAM_DIR})
