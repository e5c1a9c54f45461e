target_sources(quenmark_core PRIVATE
  app/line_session.cpp
  app/process_objects.cpp
)
