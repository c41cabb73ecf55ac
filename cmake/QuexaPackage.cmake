# The umbrella target Quexa::quexa, the exported CMake package and the
# pkg-config file. Included last, once every layer library exists.

include(CMakePackageConfigHelpers)

get_property(quexa_libraries GLOBAL PROPERTY QUEXA_LIBRARIES)

add_library(quexa INTERFACE)
add_library(Quexa::quexa ALIAS quexa)
set_target_properties(quexa PROPERTIES EXPORT_NAME quexa)
target_link_libraries(quexa INTERFACE ${quexa_libraries})
install(TARGETS quexa EXPORT ${QUEXA_EXPORT_SET})

set(QUEXA_CMAKE_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/Quexa")
install(EXPORT ${QUEXA_EXPORT_SET} NAMESPACE Quexa:: DESTINATION "${QUEXA_CMAKE_DIR}")
configure_package_config_file(
  "${PROJECT_SOURCE_DIR}/cmake/QuexaConfig.cmake.in"
  "${PROJECT_BINARY_DIR}/QuexaConfig.cmake"
  INSTALL_DESTINATION "${QUEXA_CMAKE_DIR}")
write_basic_package_version_file(
  "${PROJECT_BINARY_DIR}/QuexaConfigVersion.cmake"
  COMPATIBILITY SameMinorVersion)
install(FILES
  "${PROJECT_BINARY_DIR}/QuexaConfig.cmake"
  "${PROJECT_BINARY_DIR}/QuexaConfigVersion.cmake"
  DESTINATION "${QUEXA_CMAKE_DIR}")

# pkg-config lists the layers in dependency order, the most dependent first.
set(QUEXA_PC_LIBS "")
list(REVERSE quexa_libraries)
foreach(lib IN LISTS quexa_libraries)
  string(APPEND QUEXA_PC_LIBS " -l${lib}")
endforeach()
file(RELATIVE_PATH QUEXA_PC_PREFIX_FROM_FILE "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
configure_file("${PROJECT_SOURCE_DIR}/cmake/quexa.pc.in" "${PROJECT_BINARY_DIR}/quexa.pc" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/quexa.pc" DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig")
