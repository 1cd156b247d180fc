# Common settings for every target of our own: language level, warnings and the
# optional sanitizers. Third-party code never goes through these helpers.

if(ZING_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
  # Bounds checks in the standard containers: an index one past a std::array or
  # std::vector stops the run there instead of quietly touching its neighbour.
  add_compile_definitions(_GLIBCXX_ASSERTIONS)
endif()
if(ZING_FUZZ)
  # Coverage for the fuzz targets in every library they link.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

function(zing_target_defaults target)
  target_compile_features(${target} PUBLIC cxx_std_20)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
    -Wcast-qual -Wformat=2 -Wimplicit-fallthrough)
  if(ZING_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# zing_library(name SOURCES ... [DEPS ...]): one static library of the framework
# or the game, whose headers are included as "area/File.h" from the repository root.
function(zing_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  zing_target_defaults(${name})
endfunction()

# zing_tool(name SOURCES ... [DEPS ...]): a command-line tool of tools/.
function(zing_tool name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  zing_target_defaults(${name})
endfunction()

# lintwick_data_target(target): registers a target of a build-time generator
# whose files land below build/data/. The target `game_data` builds them all,
# and the packed archive build/data/main.pak depends on it.
function(lintwick_data_target target)
  set_property(GLOBAL APPEND PROPERTY LINTWICK_DATA_TARGETS ${target})
endfunction()
