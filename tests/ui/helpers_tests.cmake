# The borderless windows' helpers: painting, opacity, activity and the
# outline effect with its overlay.
target_sources(quenmark_ui_tests PRIVATE
  window_helpers_paint_test.cpp
  window_helpers_test.cpp
  window_helpers_overlay_test.cpp
)
