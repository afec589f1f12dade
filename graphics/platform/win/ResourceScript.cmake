# Writes the resource script that windres compiles into each Windows module: every file of
# resource_files as a resource of the type of its extension, both upper-cased ("BG@2X.PNG"
# of type "PNG", "ROBOTO-REGULAR.TTF" of type "TTF"). Sets resource_script to its path.
include(${PROJECT_SOURCE_DIR}/resources/ResourceNames.cmake)
set(script_lines "// Generated at configure time; do not edit.\n")
foreach(file ${resource_files})
  korvel_resource_name(${file} upper type)
  # Names with "@" must be quoted, and windres joins a quoted file name with the next line's
  # quoted name; a LANGUAGE statement (neutral, which every look-up falls back to) parts them.
  string(APPEND script_lines "LANGUAGE 0, 0\n\"${upper}\" ${type} \"${file}\"\n")
endforeach()
set(resource_script ${CMAKE_CURRENT_BINARY_DIR}/KorvelResources.rc)
file(CONFIGURE OUTPUT ${resource_script} CONTENT "${script_lines}")
