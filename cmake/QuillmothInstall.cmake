# What `cmake --install` puts under the prefix: the engine's headers under
# include/quillmoth, its static library, the CMake package that lets another
# project say find_package(Quillmoth), the sprite checker, and the font that
# the engine's display opens from the working directory.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# Link-time optimisation leaves only GCC's intermediate code in the engine's
# objects, which links only through the same GCC's linker plugin; fat objects
# also carry machine code, so that any compiler can link the installed library.
if(CMAKE_INTERPROCEDURAL_OPTIMIZATION AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(qm_engine PRIVATE -ffat-lto-objects)
endif()

set(QM_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Quillmoth)
set(QM_FONT_FILE ${CMAKE_INSTALL_DATADIR}/quillmoth/qm-font.ttf)

file(GLOB QM_ENGINE_HEADERS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/engine/*.h)
install(FILES ${QM_ENGINE_HEADERS} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quillmoth)
install(TARGETS qm_engine EXPORT QuillmothTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS quillmoth_sprite RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/qm-font.ttf ${PROJECT_SOURCE_DIR}/qm-font.LICENSE
        DESTINATION ${CMAKE_INSTALL_DATADIR}/quillmoth)

install(EXPORT QuillmothTargets NAMESPACE Quillmoth:: DESTINATION ${QM_PACKAGE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/QuillmothConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/QuillmothConfig.cmake
                              INSTALL_DESTINATION ${QM_PACKAGE_DIR}
                              PATH_VARS QM_FONT_FILE)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/QuillmothConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/QuillmothConfig.cmake
              ${PROJECT_BINARY_DIR}/QuillmothConfigVersion.cmake
        DESTINATION ${QM_PACKAGE_DIR})
