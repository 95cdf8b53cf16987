# Help for F1. The HTML pages are always copied to <build>/help/ (the main window opens
# help/index.html when no program on the system opens .chm files); when the Free Pascal
# CHM compiler chmcmd is installed they are also compiled into <build>/help.chm, beside
# the executable. Without chmcmd the build still succeeds, only without help.chm.
set(PLANIMO_HELP_SOURCE_DIR ${CMAKE_SOURCE_DIR}/help)
file(GLOB PLANIMO_HELP_FILES CONFIGURE_DEPENDS ${PLANIMO_HELP_SOURCE_DIR}/*)
set(PLANIMO_HELP_HTML_STAMP ${CMAKE_BINARY_DIR}/help/.copied)

add_custom_command(
  OUTPUT ${PLANIMO_HELP_HTML_STAMP}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${PLANIMO_HELP_SOURCE_DIR} ${CMAKE_BINARY_DIR}/help
  COMMAND ${CMAKE_COMMAND} -E touch ${PLANIMO_HELP_HTML_STAMP}
  DEPENDS ${PLANIMO_HELP_FILES}
  COMMENT "Copying the HTML help"
  VERBATIM)
add_custom_target(planimo_help_html ALL DEPENDS ${PLANIMO_HELP_HTML_STAMP})

find_program(PLANIMO_CHMCMD chmcmd)
if(NOT PLANIMO_CHMCMD)
  message(STATUS "chmcmd not found: help.chm is not built, the HTML help is used instead")
  return()
endif()

# The help project declares Japanese (LCID 0x411), so CHM viewers read the contents, the
# index and the title as Shift-JIS. The sources stay UTF-8; the staged copies are converted
# when iconv is available. The HTML pages declare their own UTF-8 charset.
set(PLANIMO_HELP_STAGE ${CMAKE_BINARY_DIR}/help-chm)
file(MAKE_DIRECTORY ${PLANIMO_HELP_STAGE})
set(PLANIMO_HELP_TO_SJIS)
find_program(PLANIMO_ICONV iconv)
if(PLANIMO_ICONV)
  foreach(name planimo.hhp toc.hhc index.hhk)
    list(APPEND PLANIMO_HELP_TO_SJIS
      COMMAND ${PLANIMO_ICONV} -f UTF-8 -t CP932 -o ${PLANIMO_HELP_STAGE}/${name} ${PLANIMO_HELP_SOURCE_DIR}/${name})
  endforeach()
endif()

add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/help.chm
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${PLANIMO_HELP_SOURCE_DIR} ${PLANIMO_HELP_STAGE}
  ${PLANIMO_HELP_TO_SJIS}
  COMMAND ${PLANIMO_CHMCMD} --verbosity 0 planimo.hhp
  COMMAND ${CMAKE_COMMAND} -E copy ${PLANIMO_HELP_STAGE}/help.chm ${CMAKE_BINARY_DIR}/help.chm
  WORKING_DIRECTORY ${PLANIMO_HELP_STAGE}
  DEPENDS ${PLANIMO_HELP_FILES}
  COMMENT "Compiling help.chm"
  VERBATIM)
add_custom_target(planimo_help_chm ALL DEPENDS ${CMAKE_BINARY_DIR}/help.chm)
