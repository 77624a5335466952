# Shared helpers for the project's targets.

# Warnings for the project's own code, and __FILE__ reported relative to src/. Warnings
# become errors only where our own scripts build (VANTREL_WERROR): a newer compiler's
# new warning must not stop a player or packager from building.
set(VANTREL_WARNINGS -Wall -Wextra)
# GCC 12 at -O3 reports overlapping copies inside libstdc++'s own string code
# wherever a std::string is built from pieces (a known false positive of its
# -Wrestrict); the warning says nothing about our code there.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  list(APPEND VANTREL_WARNINGS -Wno-restrict)
endif()
if(VANTREL_WERROR)
  list(APPEND VANTREL_WARNINGS -Werror)
endif()

function(vantrel_code_options target)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    return()
  endif()
  target_compile_options(${target} PRIVATE ${VANTREL_WARNINGS}
    "-fmacro-prefix-map=${PROJECT_SOURCE_DIR}/src/=")
endfunction()

# A library made of every .cpp in the calling folder (and in any subfolders named
# after EXTRA_DIRS). A folder with no sources yet becomes an interface target so
# the dependency graph holds from the start.
function(vantrel_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;EXTRA_DIRS;EXCLUDE;ONLY" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(dir IN LISTS ARG_EXTRA_DIRS)
    file(GLOB more CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
    list(APPEND sources ${more})
  endforeach()
  if(ARG_ONLY)
    set(kept "")
    foreach(pattern IN LISTS ARG_ONLY)
      set(matching ${sources})
      list(FILTER matching INCLUDE REGEX "${pattern}")
      list(APPEND kept ${matching})
    endforeach()
    set(sources ${kept})
  endif()
  foreach(pattern IN LISTS ARG_EXCLUDE)
    list(FILTER sources EXCLUDE REGEX "${pattern}")
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    vantrel_code_options(${name})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# vantrel_link_tools_tests(LIB...): the tools tests exercise these libraries in-process.
# tests/ is configured after tools/, so the links are collected here and added once tests/
# is read.
function(vantrel_link_tools_tests)
  set_property(GLOBAL APPEND PROPERTY VANTREL_TOOLS_TEST_LIBS ${ARGN})
endfunction()
