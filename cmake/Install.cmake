# `cmake --install` lays Planimo out as a desktop application: the program in
# bin, its shared files (default Init.ini, help.chm, the HTML help) in
# share/planimo, the sample drawing and the read-me in share/doc/planimo, and
# the menu entry, icons and AppStream description where desktops look for them.
# The program finds share/planimo by its path from bin; it never writes there.
set(PLANIMO_APP_ID org.planimo.Planimo)
set(PLANIMO_HOMEPAGE "https://planimo.example.org" CACHE STRING "Home page named in the AppStream description")
set(PLANIMO_LICENSE "LicenseRef-proprietary" CACHE STRING "SPDX licence named in the AppStream description")

set(PLANIMO_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/planimo)
set(PLANIMO_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/planimo)

install(TARGETS planimo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_BINARY_DIR}/Init.ini DESTINATION ${PLANIMO_SHARE_DIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/help/ DESTINATION ${PLANIMO_SHARE_DIR}/help
  PATTERN .copied EXCLUDE PATTERN "*.hhp" EXCLUDE PATTERN "*.hhc" EXCLUDE PATTERN "*.hhk" EXCLUDE)
if(TARGET planimo_help_chm)
  install(FILES ${CMAKE_BINARY_DIR}/help.chm DESTINATION ${PLANIMO_SHARE_DIR})
endif()

install(FILES ${PROJECT_SOURCE_DIR}/samples/site_plan.jpg ${PROJECT_SOURCE_DIR}/samples/README.md
  DESTINATION ${PLANIMO_DOC_DIR}/examples)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${PLANIMO_DOC_DIR})

install(FILES ${PROJECT_SOURCE_DIR}/data/${PLANIMO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${PROJECT_SOURCE_DIR}/data/${PLANIMO_APP_ID}.metainfo.xml.in
  ${CMAKE_BINARY_DIR}/${PLANIMO_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${PLANIMO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(PLANIMO_ICON_DIR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${PROJECT_SOURCE_DIR}/data/icons/planimo.svg DESTINATION ${PLANIMO_ICON_DIR}/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/data/icons/planimo-${size}.png
    DESTINATION ${PLANIMO_ICON_DIR}/${size}x${size}/apps RENAME planimo.png)
endforeach()
