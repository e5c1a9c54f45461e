# The AppStream metainfo of the desktop program, made from
# packaging/quenmark.metainfo.xml.in: the releases from NEWS and, where
# QUENMARK_SCREENSHOT_URL names the web folder that serves docs/screenshots,
# the screenshots with their sizes read from the files. The project has no
# web site of its own, so by default the metainfo names no URL at all.
#
# In script mode it writes one metainfo file (as the tests do):
#   cmake -DSOURCE_DIR=... -DAPPSTREAM_ID=... -DOUTPUT=... -DSCREENSHOT_URL=... -P cmake/metainfo.cmake
if(NOT CMAKE_SCRIPT_MODE_FILE)
  set(QUENMARK_SCREENSHOT_URL "" CACHE STRING
    "Web folder serving docs/screenshots, for the metainfo's screenshots; empty leaves them out")
  set(quenmark_metainfo_source_dir ${PROJECT_SOURCE_DIR})
else()
  set(quenmark_metainfo_source_dir ${SOURCE_DIR})
endif()

# Rebuilds follow changes to a file the metainfo is made from.
function(quenmark_metainfo_depends file)
  if(NOT CMAKE_SCRIPT_MODE_FILE)
    set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
  endif()
endfunction()

# Screenshot file and caption; the first is the default one.
set(quenmark_metainfo_screenshots
  "main-window.png|The calculator window with a few results in its log"
  "completion.png|Names offered while an expression is typed"
  "unit-window.png|The unit-conversion window")

# The width and height stored in a PNG file's header.
function(quenmark_png_size file width_var height_var)
  file(READ ${file} header OFFSET 16 LIMIT 8 HEX)
  string(SUBSTRING ${header} 0 8 width_hex)
  string(SUBSTRING ${header} 8 8 height_hex)
  math(EXPR width "0x${width_hex}")
  math(EXPR height "0x${height_hex}")
  set(${width_var} ${width} PARENT_SCOPE)
  set(${height_var} ${height} PARENT_SCOPE)
endfunction()

function(quenmark_metainfo_screenshots base_url out_var)
  if(base_url STREQUAL "")
    set(${out_var} "" PARENT_SCOPE)
    return()
  endif()
  string(REGEX REPLACE "/+$" "" base_url "${base_url}")
  string(APPEND base_url "/")
  set(text "  <screenshots>\n")
  set(type " type=\"default\"")
  foreach(entry IN LISTS quenmark_metainfo_screenshots)
    string(REPLACE "|" ";" parts "${entry}")
    list(GET parts 0 name)
    list(GET parts 1 caption)
    set(file ${quenmark_metainfo_source_dir}/docs/screenshots/${name})
    quenmark_metainfo_depends(${file})
    quenmark_png_size(${file} width height)
    string(APPEND text "    <screenshot${type}>\n      <caption>${caption}</caption>\n"
      "      <image type=\"source\" width=\"${width}\" height=\"${height}\">${base_url}${name}</image>\n"
      "    </screenshot>\n")
    set(type "")
  endforeach()
  string(APPEND text "  </screenshots>\n")
  set(${out_var} "${text}" PARENT_SCOPE)
endfunction()

# Writes OUTPUT from the template with the releases of NEWS; the template
# takes the ID from QUENMARK_APPSTREAM_ID.
function(quenmark_write_metainfo output base_url)
  find_program(quenmark_python3 python3 REQUIRED)
  set(news ${quenmark_metainfo_source_dir}/NEWS)
  quenmark_metainfo_depends(${news})
  get_filename_component(output_dir ${output} DIRECTORY)
  file(MAKE_DIRECTORY ${output_dir})
  execute_process(
    COMMAND ${quenmark_python3} ${quenmark_metainfo_source_dir}/packaging/news.py releases ${news} ${output}.releases
    COMMAND_ERROR_IS_FATAL ANY)
  file(READ ${output}.releases QUENMARK_METAINFO_RELEASES)
  file(REMOVE ${output}.releases)
  quenmark_metainfo_screenshots("${base_url}" QUENMARK_METAINFO_SCREENSHOTS)
  configure_file(${quenmark_metainfo_source_dir}/packaging/quenmark.metainfo.xml.in ${output} @ONLY)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  set(QUENMARK_APPSTREAM_ID ${APPSTREAM_ID})
  quenmark_write_metainfo(${OUTPUT} "${SCREENSHOT_URL}")
endif()
