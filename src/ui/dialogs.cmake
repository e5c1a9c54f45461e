# The unit-conversion window, the options dialog and the splash window.
target_sources(quenmark_ui PRIVATE
  unit_window.cpp
  unit_window_frame.cpp
  unit_window_position.cpp
  unit_name_painter.cpp
  options_dialog.cpp
  options_dialog_pages.cpp
  options_dialog_color_combo.cpp
  options_dialog_up_down.cpp
  options_dialog_contact.cpp
  splash_window.cpp
)
