# One static library per subsystem of the core, each linking only the
# subsystems it builds on. A source that includes a header of a subsystem it
# does not build on fails the build: every library runs check_layers.cmake
# over its own sources before it compiles them.

set(QUIRLEX_LAYER_CHECK ${CMAKE_CURRENT_LIST_DIR}/check_layers.cmake)

# quirlex_add_module(NAME [DEPENDS module...] [LIBRARIES target...])
#   Builds src/NAME/*.cpp (without the *_test.cpp files) into quirlex_NAME,
#   linked with quirlex_DEP for every DEP and with LIBRARIES. Tests beside
#   the sources, NAME/*_test.cpp, become the test program NAME_tests.
function(quirlex_add_module name)
  cmake_parse_arguments(PARSE_ARGV 1 module "" "" "DEPENDS;LIBRARIES")
  set(dir ${CMAKE_CURRENT_SOURCE_DIR}/${name})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${dir}/*.h)
  set(tests ${sources})
  list(FILTER sources EXCLUDE REGEX "_test\\.cpp$")
  list(FILTER tests INCLUDE REGEX "_test\\.cpp$")

  add_library(quirlex_${name} STATIC ${sources} ${headers})
  target_include_directories(quirlex_${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  foreach(dependency IN LISTS module_DEPENDS)
    target_link_libraries(quirlex_${name} PUBLIC quirlex_${dependency})
  endforeach()
  if(module_LIBRARIES)
    target_link_libraries(quirlex_${name} PUBLIC ${module_LIBRARIES})
  endif()

  # The layers this one may include: itself and, transitively, what it builds on.
  set(allowed ${name})
  foreach(dependency IN LISTS module_DEPENDS)
    get_property(inherited GLOBAL PROPERTY quirlex_layers_${dependency})
    list(APPEND allowed ${dependency} ${inherited})
  endforeach()
  list(REMOVE_DUPLICATES allowed)
  set_property(GLOBAL PROPERTY quirlex_layers_${name} ${allowed})

  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${name}.layers-checked)
  string(REPLACE ";" "," allowed_list "${allowed}")
  string(REPLACE ";" "," all_layers "${QUIRLEX_LAYERS}")
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DLAYER=${name} -DALLOWED=${allowed_list} -DLAYERS=${all_layers}
            -DSTAMP=${stamp} -P ${QUIRLEX_LAYER_CHECK} -- ${sources} ${headers}
    DEPENDS ${sources} ${headers} ${QUIRLEX_LAYER_CHECK}
    COMMENT "Checking that ${name}/ includes only the layers it builds on"
    VERBATIM)
  add_custom_target(quirlex_${name}_layers DEPENDS ${stamp})
  add_dependencies(quirlex_${name} quirlex_${name}_layers)

  if(QUIRLEX_BUILD_TESTS AND tests)
    add_executable(${name}_tests ${tests})
    target_link_libraries(${name}_tests PRIVATE quirlex_${name} quirlex_testing GTest::gtest_main)
    gtest_discover_tests(${name}_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
  endif()
endfunction()
