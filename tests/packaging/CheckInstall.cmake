# Installs the build into a staging folder as a package would and checks that every file a
# desktop needs is there; validates the desktop entry when the validator is installed.
set(stage "${BUILD}/install-check")
file(REMOVE_RECURSE "${stage}")
execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${stage}
                        ${CMAKE_COMMAND} --install "${BUILD}" --prefix /usr/local
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(file bin/tomery bin/tomery-doc share/applications/tomery.desktop
             share/icons/hicolor/scalable/apps/tomery.svg share/icons/hicolor/64x64/apps/tomery.png
             share/mime/packages/tomery.xml share/man/man1/tomery.1.gz share/man/man1/tomery-doc.1.gz
             share/tomery/TOMERY.HLP)
  if(NOT EXISTS "${stage}/usr/local/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
find_program(validator desktop-file-validate)
if(validator)
  execute_process(COMMAND ${validator} "${stage}/usr/local/share/applications/tomery.desktop"
                  RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "desktop-file-validate refused tomery.desktop")
  endif()
endif()
file(REMOVE_RECURSE "${stage}")
