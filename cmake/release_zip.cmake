# The Windows release: `cmake --build --preset win32 --target package` writes
# BUILD/nif-plugins-VERSION-win32.zip holding the two plug-in DLLs, stripped,
# and the user guide, and nothing else (never the stand-in msModelLib.dll or
# the test programs, which have no install rules).
install(TARGETS dravelin korbastel RUNTIME DESTINATION . COMPONENT release)
install(FILES ${CMAKE_SOURCE_DIR}/docs/user_guide.txt DESTINATION . COMPONENT release)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME nif-plugins)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME nif-plugins-${PROJECT_VERSION}-win32)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL release)
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
include(CPack)
