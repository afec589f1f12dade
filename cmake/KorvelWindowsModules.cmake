# The Windows form of the two modules made in modules/: module resources compiled in
# with windres, exactly the entry points exported (a .def file) and Windows file names.
function(korvel_windows_module target)
  cmake_parse_arguments(M "" "SUFFIX" "EXPORTS" ${ARGN})
  get_target_property(script korvel_resources KORVEL_RESOURCE_SCRIPT)
  get_target_property(files korvel_resources KORVEL_RESOURCE_FILES)
  target_sources(${target} PRIVATE ${script})
  set_source_files_properties(${script} TARGET_DIRECTORY ${target} PROPERTIES OBJECT_DEPENDS "${files}")
  set(def ${CMAKE_BINARY_DIR}/${target}.def)
  list(JOIN M_EXPORTS "\n  " exports)
  file(CONFIGURE OUTPUT ${def} CONTENT "EXPORTS\n  ${exports}\n")
  # Linked before any library, the .def names every export: nothing else leaks out.
  target_sources(${target} PRIVATE ${def})
  set_target_properties(${target} PROPERTIES PREFIX "" SUFFIX ${M_SUFFIX})
  # The ELF export script of the Linux build means nothing to the PE linker.
  get_target_property(options ${target} LINK_OPTIONS)
  if(options)
    list(FILTER options EXCLUDE REGEX "version-script")
    set_target_properties(${target} PROPERTIES LINK_OPTIONS "${options}")
  endif()
endfunction()

if(KORVEL_SKIA_FOUND)
  korvel_windows_module(korvel_clap SUFFIX .clap EXPORTS clap_entry clap_factory)
  korvel_windows_module(korvel_vst2_plugin SUFFIX .dll EXPORTS VSTPluginMain main)
  # The alias "main" of VSTPluginMain lacks its target's nothrow, which only the PE target of
  # GCC reports; the alias is called by hosts as a C function, where nothrow means nothing.
  set_source_files_properties(${PROJECT_SOURCE_DIR}/vst2/Vst2Main.cpp TARGET_DIRECTORY korvel_vst2_plugin
                              PROPERTIES COMPILE_OPTIONS -Wno-missing-attributes)
endif()
