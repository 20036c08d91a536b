# Man pages, made at build time by help2man from each program's own --help and --version, so a page
# never drifts from its program; packaging/man/<program>.h2m adds what --help does not say.
find_program(VANTREL_HELP2MAN help2man)
find_program(VANTREL_GZIP gzip)
if(NOT VANTREL_HELP2MAN OR NOT VANTREL_GZIP)
  message(FATAL_ERROR "The man pages are made with help2man and gzip, and one of them is missing. "
                      "Install them with scripts/install-deps.sh (or: apt-get install help2man).")
endif()

# vantrel_man_page(TARGET NAME "one-line description")
function(vantrel_man_page target)
  cmake_parse_arguments(M "" "NAME" "" ${ARGN})
  set(dir ${PROJECT_BINARY_DIR}/man)
  set(page ${dir}/${target}.1)
  set(include ${PROJECT_SOURCE_DIR}/packaging/man/${target}.h2m)
  # help2man reads the synopsis only from a line starting "Usage:" (vantrel-replay says "usage:").
  # The offscreen platform keeps a Qt program from looking for a display while it prints its help.
  set(runner ${dir}/run/${target})
  file(GENERATE OUTPUT ${runner}
       CONTENT "#!/bin/sh\nQT_QPA_PLATFORM=offscreen \"$<TARGET_FILE:${target}>\" \"$@\" | sed '1s/^usage:/Usage:/'\n"
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
                        WORLD_EXECUTE)
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND ${VANTREL_HELP2MAN} --no-info --name=${M_NAME} --include=${include} --output=${page}
            ${runner}
    COMMAND ${VANTREL_GZIP} -9nf ${page}
    DEPENDS ${target} ${include} ${runner}
    COMMENT "Making the man page ${target}.1"
    VERBATIM)
  add_custom_target(${target}-man ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
