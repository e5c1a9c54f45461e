# The check that modules share only header-only pieces with the core, run
# on small trees of its own: one case per rule, each a module file and what
# the check must answer.
# Run as: cmake -DCHECK=<check_module_includes.cmake> -DWORK_DIR=<dir> -P module_include_check_test.cmake

cmake_minimum_required(VERSION 3.20)

file(REMOVE_RECURSE "${WORK_DIR}")
set(core "${WORK_DIR}/src")
# A core with the module header, a header-only piece, a header with a source
# file, and a header-only piece that includes the latter.
file(WRITE "${core}/vm/vmx.h" "/* the module header */\n")
file(WRITE "${core}/base/shared_form.h" "#pragma once\n#include <string>\n")
file(WRITE "${core}/base/compiled.h" "#pragma once\nint Compiled();\n")
file(WRITE "${core}/base/compiled.cpp" "int Compiled() { return 1; }\n")
file(WRITE "${core}/platform/wrapper.h" "#pragma once\n#include \"base/shared_form.h\"\n#include \"base/compiled.h\"\n")

# case name | module source | expected: PASS or the text the failure names
set(cases
  "module_header|#include \"vm/vmx.h\"|PASS"
  "installed_header|#include \"vmx.h\"|PASS"
  "own_header|#include \"own.h\"|PASS"
  "header_only_piece|#include \"base/shared_form.h\"|PASS"
  "header_with_source|#include \"base/compiled.h\"|base/compiled.h, which is not header-only"
  "reached_through_another|#include \"platform/wrapper.h\"|base/compiled.h, which is not header-only"
  "unknown_header|#include \"nowhere/missing.h\"|includes nowhere/missing.h, found neither")

set(failures "")
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" fields "${case}")
  list(GET fields 0 name)
  list(GET fields 1 include)
  list(GET fields 2 expected)
  set(modules "${WORK_DIR}/${name}/modules")
  file(WRITE "${modules}/one/own.h" "#pragma once\n")
  file(WRITE "${modules}/one/one_module.c" "${include}\n#include <stdint.h>\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -DMODULES_DIR=${modules} -DSOURCE_DIR=${core} -P ${CHECK}
    RESULT_VARIABLE result ERROR_VARIABLE output OUTPUT_QUIET)
  string(REGEX REPLACE "[ \t\n]+" " " output "${output}")
  if(expected STREQUAL "PASS")
    if(NOT result EQUAL 0)
      list(APPEND failures "${name}: refused: ${output}")
    endif()
  elseif(result EQUAL 0)
    list(APPEND failures "${name}: accepted")
  else()
    string(FIND "${output}" "${expected}" at)
    if(at EQUAL -1)
      list(APPEND failures "${name}: refused without naming \"${expected}\": ${output}")
    endif()
  endif()
endforeach()
file(REMOVE_RECURSE "${WORK_DIR}")

if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "The module include check answered wrongly:\n  ${text}")
endif()
