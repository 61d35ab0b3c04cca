# kelvane_manual_page(TARGET NAME "what it does" [INCLUDES FILE...] [ENVIRONMENT VAR=VALUE...])
# Makes section 1 of the manual for a program from its own --help and --version with help2man,
# plus the sections of the include files, so the page follows every option the program gains.
# The page is built with the program and installed compressed, as Debian expects.
include(GNUInstallDirs)
find_program(HELP2MAN_PROGRAM help2man REQUIRED)
find_program(GZIP_PROGRAM gzip REQUIRED)

function(kelvane_manual_page target)
    cmake_parse_arguments(ARG "" "NAME" "INCLUDES;ENVIRONMENT" ${ARGN})
    set(page ${CMAKE_CURRENT_BINARY_DIR}/${target}.1)
    set(includes)
    foreach(file IN LISTS ARG_INCLUDES)
        list(APPEND includes --include=${file})
    endforeach()
    add_custom_command(
        OUTPUT ${page}.gz
        COMMAND ${CMAKE_COMMAND} -E env ${ARG_ENVIRONMENT}
                ${HELP2MAN_PROGRAM} --no-info --section=1 --name=${ARG_NAME}
                --source=${PROJECT_NAME} ${includes} --output=${page} $<TARGET_FILE:${target}>
        COMMAND ${GZIP_PROGRAM} -9nf ${page}
        DEPENDS ${target} ${ARG_INCLUDES}
        COMMENT "Writing the manual page of ${target}"
        VERBATIM)
    add_custom_target(${target}_manual_page ALL DEPENDS ${page}.gz)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
