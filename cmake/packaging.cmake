# The Windows package: `cpack` in the windows build folder makes chess-<version>-win64.zip with
# chess.exe, the UCI engine chess-uci.exe for other chess GUIs and a short German/English read-me.
install(TARGETS chess chess-uci RUNTIME DESTINATION .)
configure_file(${PROJECT_SOURCE_DIR}/app/package-readme.txt ${PROJECT_BINARY_DIR}/README.txt
               @ONLY NEWLINE_STYLE WIN32)
install(FILES ${PROJECT_BINARY_DIR}/README.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME chess)
set(CPACK_PACKAGE_VENDOR vek)
set(CPACK_PACKAGE_FILE_NAME chess-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)
