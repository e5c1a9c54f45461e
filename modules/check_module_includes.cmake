# Fails when a module includes a header of the core that is not header-only.
# A module meets the program through vm/vmx.h; whatever else it shares with
# the core must be a header without a source file of its own (N.h with no
# N.cpp beside it), including every core header that one includes in turn,
# so that no file of the core is ever compiled into a module or linked.
# A module's own headers are found beside the including file.
# Run as: cmake -DMODULES_DIR=<modules> -DSOURCE_DIR=<src> -P check_module_includes.cmake

cmake_minimum_required(VERSION 3.20)

# The quoted includes of a file, as written.
function(quoted_includes file result)
  file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  set(headers "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" header "${line}")
    list(APPEND headers "${header}")
  endforeach()
  set(${result} "${headers}" PARENT_SCOPE)
endfunction()

set(failures "")
set(core_headers "")
file(GLOB_RECURSE files "${MODULES_DIR}/*.c" "${MODULES_DIR}/*.cpp" "${MODULES_DIR}/*.h")
foreach(file IN LISTS files)
  get_filename_component(directory "${file}" DIRECTORY)
  file(RELATIVE_PATH name "${MODULES_DIR}" "${file}")
  quoted_includes("${file}" headers)
  foreach(header IN LISTS headers)
    if(EXISTS "${directory}/${header}")
      continue()
    elseif(header STREQUAL "vmx.h")
      # The installed header, included as a module outside this tree does.
      continue()
    elseif(EXISTS "${SOURCE_DIR}/${header}")
      list(APPEND core_headers "${header}")
    else()
      list(APPEND failures "${name} includes ${header}, found neither beside it nor in the core")
    endif()
  endforeach()
endforeach()

# Every core header a module reaches, directly or through another one.
set(checked "")
while(core_headers)
  list(POP_FRONT core_headers header)
  if(header IN_LIST checked)
    continue()
  endif()
  list(APPEND checked "${header}")
  string(REGEX REPLACE "\\.h$" ".cpp" source "${header}")
  if(NOT header STREQUAL "vm/vmx.h" AND EXISTS "${SOURCE_DIR}/${source}")
    list(APPEND failures "modules reach ${header}, which is not header-only (${source})")
  endif()
  quoted_includes("${SOURCE_DIR}/${header}" headers)
  foreach(included IN LISTS headers)
    if(EXISTS "${SOURCE_DIR}/${included}")
      list(APPEND core_headers "${included}")
    endif()
  endforeach()
endwhile()

if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "Modules that need the core beyond its header-only pieces:\n  ${text}")
endif()
