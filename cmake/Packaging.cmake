# What the releases hold, for scripts/package: on Windows the files of the portable
# zip and the installer (installed into a staging folder), on Linux a Debian package
# made by CPack. Included only when RAMPWISE_PACKAGING is on.
set(RAMPWISE_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(RAMPWISE_PACKAGE_MAINTAINER "Quelmark <rampwise@quelmark.example>"
  CACHE STRING "The Debian package's maintainer")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/README.md ${RAMPWISE_PACKAGING_DIR}/linux/rampwise.1)

# Writes SOURCE compressed to OUTPUT the way Debian wants it: best compression, no name
# or time stamp inside, so that two builds give the same bytes.
function(rampwise_gzip source output)
  execute_process(COMMAND gzip -9n -c ${source} OUTPUT_FILE ${output} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip ${source} failed")
  endif()
endfunction()

if(WIN32)
  # Windows users open README.txt with Notepad: CRLF line ends.
  file(READ ${PROJECT_SOURCE_DIR}/README.md readme)
  string(REPLACE "\n" "\r\n" readme "${readme}")
  file(WRITE ${PROJECT_BINARY_DIR}/package/README.txt "${readme}")
  install(TARGETS rampwise RUNTIME DESTINATION .)
  install(FILES ${PROJECT_BINARY_DIR}/package/README.txt DESTINATION .)
  return()
endif()

if(NOT TARGET rampwise)
  message(FATAL_ERROR "The Linux program is not built: nothing to package")
endif()

set(docs ${PROJECT_BINARY_DIR}/package)
file(MAKE_DIRECTORY ${docs})
configure_file(${RAMPWISE_PACKAGING_DIR}/linux/rampwise.1 ${docs}/rampwise.1 @ONLY)
string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(WRITE ${docs}/changelog
  "rampwise (${PROJECT_VERSION}) unstable; urgency=medium\n\n"
  "  * Release ${PROJECT_VERSION}.\n\n"
  " -- ${RAMPWISE_PACKAGE_MAINTAINER}  ${changelog_date}\n")
rampwise_gzip(${docs}/rampwise.1 ${docs}/rampwise.1.gz)
rampwise_gzip(${docs}/changelog ${docs}/changelog.gz)
rampwise_gzip(${PROJECT_SOURCE_DIR}/README.md ${docs}/README.md.gz)

include(GNUInstallDirs)
install(TARGETS rampwise RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${docs}/rampwise.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${docs}/README.md.gz ${docs}/changelog.gz ${RAMPWISE_PACKAGING_DIR}/linux/copyright
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/rampwise)
install(FILES ${RAMPWISE_PACKAGING_DIR}/linux/rampwise.desktop
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/rampwise/examples)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rampwise)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Quelmark)
set(CPACK_PACKAGE_CONTACT ${RAMPWISE_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "load display calibrations into an X server's gamma tables")
# CPack puts the summary first and indents each of these lines.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "rampwise loads a LUT file (.lut), a calibration file (.cal) or the calibration
curves (vcgt or mLUT) of an ICC colour profile into the gamma table of a display
through RandR, checks that the display holds it, and can keep it loaded. Use it
from a log-on script or an autostart entry. Switches: /pt, /keep, /quiet,
/release, /verify, /list, /status, /clear, /save, /help, /version.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The dependencies are those of the libraries the program really links (xcb and
# xcb-randr, libc), as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
