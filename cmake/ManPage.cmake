# Makes a program's manual page from its --help and --version with help2man, compressed as
# Debian wants it (gzip -9n: no name, no time stamp).
#   cmake -DHELP2MAN=... -DPROGRAM=... -DSUMMARY=... -DPAGE=....1.gz
#         -DBUILD_FOLDER=... -DINSTALLED_FOLDER=... -P ManPage.cmake
# --help names the program's files where this build keeps them and the settings file in the
# builder's home; the page names them as an installed program finds them.
set(home /KTSMANPAGEHOME)
string(REGEX REPLACE "\\.gz$" "" roff ${PAGE})
get_filename_component(folder ${PAGE} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=XDG_CONFIG_HOME --unset=DISPLAY --unset=WAYLAND_DISPLAY
          HOME=${home} ${HELP2MAN} --no-info --section=1 --name=${SUMMARY} --output=${roff} ${PROGRAM}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "help2man failed on ${PROGRAM}")
endif()
file(READ ${roff} text)
string(REPLACE "${BUILD_FOLDER}" "${INSTALLED_FOLDER}" text "${text}")
string(REPLACE "${home}" "~" text "${text}")
file(WRITE ${roff} "${text}")
execute_process(COMMAND gzip -9nf ${roff} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip failed on ${roff}")
endif()
