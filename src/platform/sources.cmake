# The Linux layer: program directory, file listing, user account and
# language, atomic file replacement,
# file locks and the checks before a save.
target_sources(quenmark_core PRIVATE
  platform/program_directory.cpp
  platform/file_listing.cpp
  platform/user_account.cpp
  platform/user_language.cpp
  platform/atomic_file.cpp
  platform/file_lock.cpp
  platform/save_target.cpp
  platform/runtime_directory.cpp
)
