# The release package: `cmake --build --preset mingw --target package` makes
# pellix-<version>-win64.zip, a folder to unpack anywhere and run from (pellix keeps its files
# beside itself, so deleting the folder uninstalls it).

# Notepad on older Windows reads only CR LF, and a UTF-8 file only with its byte-order mark
# (which the readme's source keeps).
configure_file(${PROJECT_SOURCE_DIR}/package/readme.txt.in ${PROJECT_BINARY_DIR}/package/readme.txt
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_BINARY_DIR}/package/LICENSE.txt
               @ONLY NEWLINE_STYLE CRLF)

install(TARGETS pellix RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/src/win32/shell/res/pellixhelp.html
              ${PROJECT_BINARY_DIR}/package/readme.txt ${PROJECT_BINARY_DIR}/package/LICENSE.txt
        DESTINATION .)

# The package target zips what was built without building everything first: the test command
# makes the zip as soon as the program is built, while the unit tests are still being compiled.
set(CMAKE_SKIP_PACKAGE_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME pellix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME pellix-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_VENDOR "the pellix developers")
# Only what a user needs goes in: the tools and test programs of the build have no install rules
# (the package test checks the zip's exact contents).
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_BINARY_DIR})
include(CPack)
