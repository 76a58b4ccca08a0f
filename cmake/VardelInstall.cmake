# Installs the headers, the shared library, the CMake package (find_package
# (Vardel) giving Vardel::vardel and Vardel::catalog) and the pkg-config file vardel.pc.
include(CMakePackageConfigHelpers)

set(VARDEL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Vardel)

install(TARGETS vardel vardel_catalog EXPORT VardelTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY include/vardel catalog/include/vardel DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${PROJECT_BINARY_DIR}/include/vardel/version.h
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/vardel)
install(EXPORT VardelTargets NAMESPACE Vardel:: DESTINATION ${VARDEL_CMAKE_DIR})

configure_package_config_file(cmake/VardelConfig.cmake.in
    ${PROJECT_BINARY_DIR}/VardelConfig.cmake
    INSTALL_DESTINATION ${VARDEL_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/VardelConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/VardelConfig.cmake
    ${PROJECT_BINARY_DIR}/VardelConfigVersion.cmake
    DESTINATION ${VARDEL_CMAKE_DIR})

# The pkg-config file finds its prefix relative to itself, so the installed
# tree can be moved.
file(RELATIVE_PATH VARDEL_PC_RELATIVE_PREFIX "/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/")
configure_file(cmake/vardel.pc.in ${PROJECT_BINARY_DIR}/vardel.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/vardel.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
