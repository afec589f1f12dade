# Writes the resource script that windres compiles into each Windows module: every file of
# resource_files as a resource of the type of its extension, both upper-cased ("BG@2X.PNG"
# of type "PNG", "ROBOTO-REGULAR.TTF" of type "TTF"). Sets KORVEL_RESOURCE_SCRIPT and
# KORVEL_RESOURCE_FILES for cmake/KorvelWindowsModules.cmake.
include(${PROJECT_SOURCE_DIR}/resources/ResourceNames.cmake)
set(script_lines "// Generated at configure time; do not edit.\n")
foreach(file ${resource_files})
  korvel_resource_name(${file} upper type)
  # Names with "@" must be quoted, and windres joins a quoted file name with the next line's
  # quoted name; a LANGUAGE statement (neutral, which every look-up falls back to) parts them.
  string(APPEND script_lines "LANGUAGE 0, 0\n\"${upper}\" ${type} \"${file}\"\n")
endforeach()
set(KORVEL_RESOURCE_SCRIPT ${CMAKE_CURRENT_BINARY_DIR}/KorvelResources.rc CACHE INTERNAL "The modules' resource script")
set(KORVEL_RESOURCE_FILES ${resource_files} CACHE INTERNAL "The files the resource script names")
file(CONFIGURE OUTPUT ${KORVEL_RESOURCE_SCRIPT} CONTENT "${script_lines}")
