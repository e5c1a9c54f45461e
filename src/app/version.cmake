# The program's version information.
target_sources(quenmark_core PRIVATE
  app/version_info.cpp
)
