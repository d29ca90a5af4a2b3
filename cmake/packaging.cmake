# The Windows packages, made by `cpack` in the Windows build folder: an installer (NSIS) and a
# portable zip. Both hold the game with its help document in Help/ beside it, where the game
# looks for it: in its working folder, which is also where it keeps tessara.ini and
# hiscore.dat.
install(TARGETS tessara RUNTIME DESTINATION .)
# Stripped when linked, not when packed, so that both packages hold the very program that
# was built and tested (a strip in each package would stamp each copy with its own time).
target_link_options(tessara PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)
install(FILES ${PROJECT_SOURCE_DIR}/resources/help/help.htm DESTINATION Help)

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME Tessara)
set(CPACK_PACKAGE_VENDOR Hexwright)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "A mine-sweeping puzzle on hexagonal cells")
# The packages' file name without .exe or .zip; the installer test finds them by it.
set(TESSARA_PACKAGE_NAME Tessara-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_FILE_NAME ${TESSARA_PACKAGE_NAME})
set(CPACK_PACKAGE_INSTALL_DIRECTORY Tessara)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Tessara)

# The installer is the project's own template (packaging/NSIS.template.in): it installs for
# the current user without administrator rights, into the user's own programs folder, which
# the user may write to, so the Start-menu shortcut starts the game there.
list(APPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/packaging)
set(CPACK_NSIS_INSTALL_ROOT "$LOCALAPPDATA\\\\Programs")
set(CPACK_NSIS_DISPLAY_NAME Tessara)
set(CPACK_NSIS_PACKAGE_NAME Tessara)
set(CPACK_NSIS_MUI_ICON ${TESSARA_ICON_FILE})
set(CPACK_NSIS_MUI_UNIICON ${TESSARA_ICON_FILE})
set(CPACK_TESSARA_PROGRAM tessara${CMAKE_EXECUTABLE_SUFFIX})

include(CPack)
