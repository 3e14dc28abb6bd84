# The installed layout shared by every program of the package: each program lies in one private
# folder beside the driver libraries and the firmware image it loads from its own folder; bin/
# holds a link to it, and share/man/man1 its manual page, made from its --help at build time.
# A program's folder calls kts_installed_program(target "what it is") and is packaged.
set(KTS_INSTALL_DIR lib/kts9320b-eval)
# The prefix of the Debian package; the manual pages name the files as the package lays them out.
set(KTS_PACKAGE_PREFIX /usr)
set(KTS_MAN_PAGE_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/ManPage.cmake)

# On Windows the programs lie in the installation folder itself, with no links and no pages.
if(WIN32)
  function(kts_installed_program target summary)
    install(TARGETS ${target} RUNTIME DESTINATION .)
  endfunction()
  return()
endif()

find_program(KTS_HELP2MAN help2man REQUIRED)

function(kts_installed_program target summary)
  install(TARGETS ${target} RUNTIME DESTINATION ${KTS_INSTALL_DIR})

  # The program follows the link back to its real folder.
  set(link ${CMAKE_CURRENT_BINARY_DIR}/bin-link/${target})
  file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/bin-link)
  file(CREATE_LINK ../${KTS_INSTALL_DIR}/${target} ${link} SYMBOLIC)
  install(FILES ${link} DESTINATION bin)

  set(page ${CMAKE_BINARY_DIR}/man/${target}.1.gz)
  add_custom_command(OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -DHELP2MAN=${KTS_HELP2MAN} -DPROGRAM=$<TARGET_FILE:${target}>
            "-DSUMMARY=${summary}" -DPAGE=${page} -DBUILD_FOLDER=$<TARGET_FILE_DIR:${target}>
            -DBUILD_I2C_DEV_FOLDER=${KTS_I2C_DEV_DIR} -DINSTALLED_FOLDER=${KTS_PACKAGE_PREFIX}/${KTS_INSTALL_DIR}
            -P ${KTS_MAN_PAGE_SCRIPT}
    DEPENDS ${target} ${KTS_MAN_PAGE_SCRIPT}
    COMMENT "Manual page ${target}(1)")
  add_custom_target(${target}_man_page ALL DEPENDS ${page})
  install(FILES ${page} DESTINATION share/man/man1)
endfunction()
