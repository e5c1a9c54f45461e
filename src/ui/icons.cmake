# The colour-scheme icons of resources/icons, compiled into the program as
# Qt resources under ":/icons/", and their loader.
target_sources(quenmark_ui PRIVATE scheme_icons.cpp)

set(quenmark_scheme_icon_files)
foreach(index RANGE 0 8)
  foreach(suffix "" "-32" "-48")
    list(APPEND quenmark_scheme_icon_files ${PROJECT_SOURCE_DIR}/resources/icons/scheme-${index}${suffix}.png)
  endforeach()
endforeach()
qt_add_resources(quenmark_ui quenmark_scheme_icons
  PREFIX /icons
  BASE ${PROJECT_SOURCE_DIR}/resources/icons
  FILES ${quenmark_scheme_icon_files})
