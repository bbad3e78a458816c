# Installation: the shared library with its version and SONAME, the public
# header, the kestro command, a CMake package (find_package(Kestro) gives the
# target Kestro::kestro) and a pkg-config file (pkg-config --cflags --libs kestro).
include(CMakePackageConfigHelpers)

set(KESTRO_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Kestro)

install(TARGETS kestro EXPORT KestroTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS kestro_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/kestro/kgo.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kestro)

install(EXPORT KestroTargets NAMESPACE Kestro:: DESTINATION ${KESTRO_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/KestroConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/KestroConfig.cmake
                              INSTALL_DESTINATION ${KESTRO_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/KestroConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/KestroConfig.cmake ${PROJECT_BINARY_DIR}/KestroConfigVersion.cmake
        DESTINATION ${KESTRO_CMAKE_DIR})

# The pkg-config file names the library directory relative to its prefix, so
# an installed tree can be moved as a whole.
file(RELATIVE_PATH KESTRO_PC_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
configure_file(${PROJECT_SOURCE_DIR}/cmake/kestro.pc.in ${PROJECT_BINARY_DIR}/kestro.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/kestro.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
