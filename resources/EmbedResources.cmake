# Writes a C++ source holding every file of FILES ("|"-separated) as a module resource:
# type = the extension upper-cased, name = the file name upper-cased. Run with cmake -P.
include(${CMAKE_CURRENT_LIST_DIR}/ResourceNames.cmake)
string(REPLACE "|" ";" files "${FILES}")
set(arrays "")
set(entries "")
set(index 0)
foreach(file ${files})
  korvel_resource_name(${file} upper type)
  file(READ ${file} hex HEX)
  file(SIZE ${file} size)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  # Lines of 32 bytes keep the source readable by tools.
  string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")
  string(APPEND arrays "alignas(16) const uint8_t kResource${index}[] = {\n${bytes}\n};\n")
  string(APPEND entries "    {\"${type}\", \"${upper}\", kResource${index}, ${size}},\n")
  math(EXPR index "${index} + 1")
endforeach()
if(index EQUAL 0)
  set(arrays "")
  set(entries "    {\"\", \"\", nullptr, 0},\n")
endif()
file(WRITE ${OUTPUT}.tmp "// Generated from resources/ at build time; do not edit.
#include <cstdint>

#include \"graphics/IResources.h\"

namespace graphics {
namespace {
${arrays}}  // namespace

const IResourceEntry kResourceTable[] = {
${entries}};
const int kResourceCount = ${index};

}  // namespace graphics
")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
