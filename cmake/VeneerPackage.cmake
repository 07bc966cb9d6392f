# Install rules of the framework package: the static library, its public headers and a package
# configuration, so another CMake project writes find_package(Veneer CONFIG REQUIRED) and links
# Veneer::veneer (zlib and the Windows libraries come along).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(VENEER_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Veneer CACHE STRING
    "Folder of the installed package configuration, under the prefix")

set_target_properties(veneer PROPERTIES EXPORT_NAME veneer)
install(TARGETS veneer EXPORT VeneerTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
# Headers keep their folders: programs include "veneer/Veneer.h" as inside this tree.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/veneer/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/veneer
        FILES_MATCHING PATTERN "*.h")
install(EXPORT VeneerTargets NAMESPACE Veneer:: DESTINATION ${VENEER_INSTALL_CMAKEDIR})

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/VeneerConfig.cmake.in
  ${PROJECT_BINARY_DIR}/VeneerConfig.cmake INSTALL_DESTINATION ${VENEER_INSTALL_CMAKEDIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/VeneerConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/VeneerConfig.cmake ${PROJECT_BINARY_DIR}/VeneerConfigVersion.cmake
        DESTINATION ${VENEER_INSTALL_CMAKEDIR})
