# The colour-scheme icons of resources/icons, compiled into the program as
# Qt resources under ":/icons/", and their loader, which renders the SVG
# drawing at sizes that have no PNG (a device pixel ratio of 1.5) through
# Qt's SVG image format plugin, so that the program does not link Qt SVG.
target_sources(quenmark_ui PRIVATE scheme_icons.cpp)

set(quenmark_scheme_icon_files)
foreach(index RANGE 0 8)
  foreach(suffix "" "-32" "-48")
    list(APPEND quenmark_scheme_icon_files ${PROJECT_SOURCE_DIR}/resources/icons/scheme-${index}${suffix}.png)
  endforeach()
  list(APPEND quenmark_scheme_icon_files ${PROJECT_SOURCE_DIR}/resources/icons/scheme-${index}.svg)
endforeach()
qt_add_resources(quenmark_ui quenmark_scheme_icons
  PREFIX /icons
  BASE ${PROJECT_SOURCE_DIR}/resources/icons
  FILES ${quenmark_scheme_icon_files})
