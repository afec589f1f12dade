# Warning flags and sanitizers shared by every target of the tree.
add_library(korvel_options INTERFACE)
target_compile_options(korvel_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
  -Wno-sign-conversion -Wnon-virtual-dtor -Woverloaded-virtual)
if(KORVEL_WARNINGS_AS_ERRORS)
  target_compile_options(korvel_options INTERFACE -Werror)
endif()

# A release build (tools/release.sh) keeps its debug information, which the release script
# moves into files of its own, and names no folder of the machine that built it: two builds
# of one commit in different folders give the same module bytes.
if(CMAKE_BUILD_TYPE STREQUAL "Release")
  add_compile_options(-g -ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)
  if(WIN32)
    add_link_options(LINKER:--no-insert-timestamp)
  endif()
endif()

if(KORVEL_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
elseif(KORVEL_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT KORVEL_SANITIZE STREQUAL "")
  message(FATAL_ERROR "KORVEL_SANITIZE must be empty, address or thread")
endif()
# The per-sample loops: the audio path's, the drain's, the transform's and the drawing's
# reductions (set on their files with set_source_files_properties).
set(KORVEL_PER_SAMPLE_OPTIONS -O3)
if(KORVEL_FUZZ)
  # Every library a fuzzer links carries the coverage the fuzzer steers by.
  add_compile_options(-fsanitize=fuzzer-no-link)
  # Their edges still count, but their comparisons are not traced: traced once per sample,
  # they steer nothing and took half of each input's time.
  list(APPEND KORVEL_PER_SAMPLE_OPTIONS -fno-sanitize-coverage=trace-cmp)
endif()

# korvel_test(<name> SOURCES ... LIBS ... LABEL <label>): one GoogleTest executable registered
# with CTest, its tests carrying one label (a list would not survive test discovery).
function(korvel_test name)
  cmake_parse_arguments(T "" "LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${PROJECT_SOURCE_DIR}/tests/support/PrivateSettings.cpp)
  target_link_libraries(${name} PRIVATE korvel_options GTest::gtest GTest::gtest_main ${T_LIBS})
  # A test that hangs fails after two minutes instead of holding CI up.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS ${T_LABEL} TIMEOUT 120)
  # The target korvel_threads_tests builds just these, for the ThreadSanitizer run.
  if(T_LABEL STREQUAL "threads")
    set_property(GLOBAL APPEND PROPERTY KORVEL_THREADS_TESTS ${name})
  endif()
endfunction()

# korvel_folder_tests(<label> LIBS ...): one test executable per *Test.cpp of the calling
# folder, named <label>_<file>; files named *ConcurrentTest.cpp hold cross-thread tests and
# get the label `threads` instead, which CI also runs under ThreadSanitizer.
function(korvel_folder_tests label)
  cmake_parse_arguments(F "" "" "LIBS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*Test.cpp)
  foreach(source ${tests})
    get_filename_component(name ${source} NAME_WE)
    set(test_label ${label})
    if(name MATCHES "ConcurrentTest$")
      set(test_label threads)
    endif()
    korvel_test(${label}_${name} SOURCES ${source} LIBS ${F_LIBS} LABEL ${test_label})
  endforeach()
endfunction()
