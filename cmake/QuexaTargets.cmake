# Helpers that give every Quexa target the same language level, warnings,
# sanitizer flags, include root and install/export rules.

set(QUEXA_INCLUDE_ROOT "${PROJECT_SOURCE_DIR}/src")
set(QUEXA_EXPORT_SET QuexaTargets)

function(quexa_apply_common_options target)
  target_compile_features(${target} PUBLIC cxx_std_20)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(QUEXA_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(QUEXA_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=${QUEXA_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    target_link_options(${target} PRIVATE -fsanitize=${QUEXA_SANITIZE})
  endif()
endfunction()

# quexa_add_library(<name> SOURCES ... [HEADERS ...] [PUBLIC_DEPS ...] [PRIVATE_DEPS ...])
#
# Creates the layer library quexa_<name> with the alias Quexa::<name>. Public
# headers are installed under include/quexa/<dir relative to src/>, so that a
# client includes them exactly as the library's own code does.
function(quexa_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;HEADERS;PUBLIC_DEPS;PRIVATE_DEPS" ${ARGN})
  set(target quexa_${name})
  add_library(${target} ${ARG_SOURCES})
  add_library(Quexa::${name} ALIAS ${target})
  set_target_properties(${target} PROPERTIES
    EXPORT_NAME ${name}
    OUTPUT_NAME quexa_${name}
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR})
  target_include_directories(${target} PUBLIC
    $<BUILD_INTERFACE:${QUEXA_INCLUDE_ROOT}>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/quexa>)
  target_link_libraries(${target} PUBLIC ${ARG_PUBLIC_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  quexa_apply_common_options(${target})

  file(RELATIVE_PATH rel_dir "${QUEXA_INCLUDE_ROOT}" "${CMAKE_CURRENT_SOURCE_DIR}")
  foreach(header IN LISTS ARG_HEADERS)
    get_filename_component(header_dir "${header}" DIRECTORY)
    install(FILES "${header}" DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/quexa/${rel_dir}/${header_dir}")
  endforeach()
  install(TARGETS ${target} EXPORT ${QUEXA_EXPORT_SET}
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  set_property(GLOBAL APPEND PROPERTY QUEXA_LIBRARIES ${target})
endfunction()

# quexa_add_test(<name> SOURCES ... LIBS ... [LABELS ...] [ENVIRONMENT ...])
#
# One GoogleTest executable, its cases registered with CTest one by one.
# Label `threaded` marks suites that the CI also runs under ThreadSanitizer.
function(quexa_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  quexa_apply_common_options(${name})
  set(properties "")
  if(ARG_LABELS)
    list(APPEND properties LABELS "${ARG_LABELS}")
  endif()
  if(ARG_ENVIRONMENT)
    list(APPEND properties ENVIRONMENT "${ARG_ENVIRONMENT}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
  foreach(label IN LISTS ARG_LABELS)
    set_property(GLOBAL APPEND PROPERTY QUEXA_TESTS_LABELLED_${label} ${name})
  endforeach()
endfunction()

# quexa_add_label_targets(<label> ...)
#
# For each label, a target quexa_<label>_tests that builds only the test
# programs carrying it, so that a pass over one label builds no more.
function(quexa_add_label_targets)
  foreach(label IN LISTS ARGN)
    get_property(programs GLOBAL PROPERTY QUEXA_TESTS_LABELLED_${label})
    add_custom_target(quexa_${label}_tests)
    if(programs)
      add_dependencies(quexa_${label}_tests ${programs})
    endif()
  endforeach()
endfunction()

# quexa_add_benchmark(<name> SOURCES ... LIBS ...)
function(quexa_add_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
  quexa_apply_common_options(${name})
  set_property(GLOBAL APPEND PROPERTY QUEXA_BENCHMARKS ${name})
endfunction()
