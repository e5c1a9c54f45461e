# The user settings file, the saved variables and the input history.
target_sources(quenmark_core PRIVATE
  app/hex_codec.cpp
  app/color_schemes.cpp
  app/settings_file.cpp
  app/damaged_settings.cpp
  app/settings_save.cpp
  app/settings.cpp
  app/saved_variables.cpp
  app/history_section.cpp
  app/session_changes.cpp
)
