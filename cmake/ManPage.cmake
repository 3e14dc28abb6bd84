# Makes a program's manual page from its --help and --version with help2man, compressed as
# Debian wants it (gzip -9n: no name, no time stamp).
#   cmake -DHELP2MAN=... -DPROGRAM=... -DSUMMARY=... -DPAGE=....1.gz -DBUILD_FOLDER=...
#         -DBUILD_I2C_DEV_FOLDER=... -DINSTALLED_FOLDER=... -P ManPage.cmake
# --help names the program's files where this build keeps them (the program's folder, and
# beside it the i2c-dev folder that the package keeps inside it) and the settings file in the
# builder's home; the page names them as an installed program finds them. help2man reads the
# text as UTF-8 (it would write "?" for each byte of a degree sign), and the page spells the
# degree sign as groff's \[de], so that man shows it in every locale.
set(home /KTSMANPAGEHOME)
string(REGEX REPLACE "\\.gz$" "" roff ${PAGE})
get_filename_component(folder ${PAGE} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=XDG_CONFIG_HOME --unset=DISPLAY --unset=WAYLAND_DISPLAY
          HOME=${home} ${HELP2MAN} --no-info --section=1 --locale=C.UTF-8 --name=${SUMMARY} --output=${roff} ${PROGRAM}
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "help2man failed on ${PROGRAM}")
endif()
file(READ ${roff} text)
# Puts `to` for `from`, as written and as help2man writes it in running text ('-' as "\-").
function(replace_path from to)
  string(REPLACE "-" "\\-" escaped "${from}")
  string(REPLACE "${escaped}" "${to}" text "${text}")
  string(REPLACE "${from}" "${to}" text "${text}")
  set(text "${text}" PARENT_SCOPE)
endfunction()
replace_path("${BUILD_FOLDER}" "${INSTALLED_FOLDER}")
replace_path("${BUILD_I2C_DEV_FOLDER}" "${INSTALLED_FOLDER}/i2c-dev")
replace_path("${home}" "~")
string(REPLACE "°" "\\[de]" text "${text}")
# A terminal of plain ASCII (the C locale) gets "deg" for it, not groff's "<degree>".
string(REGEX REPLACE "(\n\\.TH [^\n]*\n)" "\\1.if '\\\\*[.T]'ascii' .char \\\\[de] deg\n" text "${text}")
file(WRITE ${roff} "${text}")
execute_process(COMMAND gzip -9nf ${roff} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip failed on ${roff}")
endif()
