# Definition files, languages, units and the shipped resources, with the
# Linux layer and the base they rest on.
quenmark_add_tests(quenmark_definitions_tests
  base/names_test.cpp
  base/plain_real_text_test.cpp
  base/text_lines_test.cpp
  definitions/profile_lines_test.cpp
  definitions/profile_text_test.cpp
  definitions/profile_test.cpp
  definitions/profile_cache_test.cpp
  definitions/messages_test.cpp
  definitions/language_test.cpp
  definitions/language_list_test.cpp
  definitions/unit_group_list_test.cpp
  definitions/unit_lookup_test.cpp
  definitions/resources_test.cpp
  definitions/command_words_help_test.cpp
  platform/user_language_test.cpp
  platform/file_listing_test.cpp
  platform/program_directory_test.cpp
  platform/installed_layout_test.cpp
  platform/atomic_file_test.cpp
  platform/file_lock_test.cpp
  platform/save_target_test.cpp
  platform/runtime_directory_test.cpp
  platform/directory_trust_test.cpp
  platform/local_endpoint_test.cpp
)
# The resource checks read the shipped files and scan the source for the
# message codes it looks up.
target_compile_definitions(quenmark_definitions_tests PRIVATE QUENMARK_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
