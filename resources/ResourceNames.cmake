# korvel_resource_name(<file> <name var> <type var>): a module resource's name and type for a
# file: its file name and its extension (without the dot), both upper-cased.
function(korvel_resource_name file name_var type_var)
  get_filename_component(name ${file} NAME)
  string(TOUPPER ${name} upper)
  get_filename_component(ext ${file} LAST_EXT)
  string(SUBSTRING "${ext}" 1 -1 type)
  string(TOUPPER "${type}" type)
  set(${name_var} ${upper} PARENT_SCOPE)
  set(${type_var} ${type} PARENT_SCOPE)
endfunction()
