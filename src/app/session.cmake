target_sources(quenmark_core PRIVATE
  app/line_session.cpp
  app/prepared_save.cpp
  app/process_objects.cpp
)
