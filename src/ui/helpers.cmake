# The helpers shared by the borderless windows: frame painting, opacity and
# the outline effect with its overlay.
target_sources(quenmark_ui PRIVATE
  window_helpers.cpp
  screen_keeper.cpp
  outline_overlay.cpp
)
