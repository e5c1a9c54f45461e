# Definition files: reader and writer, message catalogue, languages, units.
target_sources(quenmark_core PRIVATE
  definitions/profile_text.cpp
  definitions/profile_cache.cpp
  definitions/profile.cpp
  definitions/full_path.cpp
  definitions/messages.cpp
  definitions/language.cpp
  definitions/language_list.cpp
  definitions/unit_group.cpp
  definitions/unit_table_reader.cpp
  definitions/unit_group_list.cpp
)
