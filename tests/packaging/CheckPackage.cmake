# Builds the Debian package and checks what a clean machine needs of it: every library package
# dpkg-shlibdeps finds behind the installed programs is in Depends, the description has a body,
# and the documentation Debian's policy asks for is there, the manual page compressed. Runs
# lintian too when it is installed. Prints "SKIP" without cpack, dpkg-deb or dpkg-shlibdeps.
cmake_minimum_required(VERSION 3.25)
foreach(tool dpkg-deb dpkg-shlibdeps)
  find_program(${tool}_path ${tool})
  if(NOT ${tool}_path)
    message("SKIP: ${tool} is not installed")
    return()
  endif()
endforeach()
if(NOT EXISTS "${CPACK}")
  message("SKIP: cpack is not installed")
  return()
endif()

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output
                  ERROR_VARIABLE errors WORKING_DIRECTORY "${work}")
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${result}):\n${output}${errors}")
  endif()
  set(output "${output}" PARENT_SCOPE)
endfunction()

# The package names a dependency list holds, alternatives included.
function(package_names list out)
  string(REGEX REPLACE "\\([^)]*\\)" "" list "${list}")
  string(REGEX REPLACE "[,|]" ";" list "${list}")
  set(names)
  foreach(item IN LISTS list)
    string(STRIP "${item}" item)
    list(APPEND names "${item}")
  endforeach()
  set(${out} "${names}" PARENT_SCOPE)
endfunction()

set(work "${BUILD}/package-check")
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${work}")
run("${CPACK}" -G DEB --config "${BUILD}/CPackConfig.cmake" -B "${work}")
file(GLOB package "${work}/tomery_*.deb")
run(${dpkg-deb_path} -f "${package}" Depends Description)
string(REGEX MATCH "Depends: ([^\n]*)" depends "${output}")
package_names("${CMAKE_MATCH_1}" depends)
if(NOT output MATCHES "Description: [^\n]+\n [^\n]+")
  message(FATAL_ERROR "the package's description has no body:\n${output}")
endif()

# dpkg-shlibdeps reads the source package's control file.
run(${dpkg-deb_path} -x "${package}" root)
file(WRITE "${work}/root/debian/control" "Source: tomery\n\nPackage: tomery\nArchitecture: any\n")
file(GLOB programs RELATIVE "${work}/root" "${work}/root/usr/bin/*")
execute_process(COMMAND ${dpkg-shlibdeps_path} -O ${programs} WORKING_DIRECTORY "${work}/root"
                RESULT_VARIABLE result OUTPUT_VARIABLE shlibs ERROR_VARIABLE errors)
if(NOT result EQUAL 0 OR NOT shlibs MATCHES "shlibs:Depends=([^\n]*)")
  message(FATAL_ERROR "dpkg-shlibdeps failed (${result}):\n${errors}")
endif()
package_names("${CMAKE_MATCH_1}" needed)
list(APPEND needed libqt6printsupport6)
foreach(name IN LISTS needed)
  if(NOT name IN_LIST depends)
    message(FATAL_ERROR "Depends lacks ${name}: ${depends}")
  endif()
endforeach()

run(${dpkg-deb_path} -c "${package}")
foreach(file usr/bin/tomery usr/bin/tomery-doc usr/share/doc/tomery/copyright
             usr/share/doc/tomery/changelog.gz usr/share/man/man1/tomery.1.gz
             usr/share/man/man1/tomery-doc.1.gz)
  if(NOT output MATCHES " \\./${file}\n")
    message(FATAL_ERROR "the package lacks ${file}:\n${output}")
  endif()
endforeach()
if(output MATCHES "/man/[^\n]*[^z/]\n")
  message(FATAL_ERROR "the package holds an uncompressed manual page:\n${output}")
endif()

find_program(lintian_path lintian)
if(lintian_path)
  run(${lintian_path} --fail-on error,warning "${package}")
endif()
file(REMOVE_RECURSE "${work}")
