# The window helpers' arithmetic and the start-up entry, free of any window system.
target_sources(quenmark_core PRIVATE
  app/outline_frames.cpp
  app/startup_shortcut.cpp
)
