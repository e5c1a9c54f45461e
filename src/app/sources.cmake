# The callback through which extension modules write into the output.
target_sources(quenmark_core PRIVATE
  app/module_output.cpp
)
