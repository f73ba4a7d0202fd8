# Writes a program's manual page from its own --help and --version, so that the page says what the
# program says. Run as
#   cmake -DPROGRAM=<executable> -DINCLUDE=<.h2m> -DLOCALES=<dir> -DOUTPUT=<page.1.gz>
#         -P manpage.cmake
# A program whose help lists subcommands under 命令： gets each one's own --help as a subsection
# of 命令, so that a new subcommand or option reaches the page without anyone editing it. help2man names the standard sections
# in the language of the locale it runs in; the Chinese locale is compiled into LOCALES, as a
# build machine need not have it installed.
cmake_minimum_required(VERSION 3.25)

foreach(variable PROGRAM INCLUDE LOCALES OUTPUT)
    if(NOT DEFINED ${variable})
        message(FATAL_ERROR "manpage.cmake needs -D${variable}=")
    endif()
endforeach()

set(locale zh_CN.UTF-8)

# Text as roff reads it literally: backslashes and hyphens escaped, no line taken for a request.
function(roff_literal text out)
    string(REPLACE "\\" "\\e" text "${text}")
    string(REPLACE "-" "\\-" text "${text}")
    string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

get_filename_component(name ${PROGRAM} NAME)
file(READ ${INCLUDE} include)
execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${name} --help failed")
endif()
set(subcommands)
if(help MATCHES "\n命令：\n(([ ]+[^\n]+\n)+)")
    string(REGEX MATCHALL "(^|\n)  [a-z][a-z-]*" rows "${CMAKE_MATCH_1}")
    foreach(row IN LISTS rows)
        string(STRIP "${row}" row)
        list(APPEND subcommands ${row})
    endforeach()
endif()
if(subcommands)
    string(APPEND include "\n[命令]\n")
    foreach(subcommand IN LISTS subcommands)
        execute_process(COMMAND ${PROGRAM} ${subcommand} --help OUTPUT_VARIABLE help
                        RESULT_VARIABLE result)
        if(NOT result EQUAL 0)
            message(FATAL_ERROR "${name} ${subcommand} --help failed")
        endif()
        roff_literal("${help}" help)
        string(APPEND include ".SS \"${name} ${subcommand}\"\n.nf\n${help}.fi\n")
    endforeach()
endif()
set(page ${OUTPUT})
string(REGEX REPLACE "\\.gz$" "" page "${page}")
file(WRITE ${page}.h2m "${include}")

execute_process(
    COMMAND ${CMAKE_COMMAND} -E env LOCPATH=${LOCALES} QT_QPA_PLATFORM=offscreen
            help2man --no-info --locale=${locale} --section=1 --include=${page}.h2m
            --output=${page} ${PROGRAM}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "help2man failed for ${name}")
endif()
# Chinese has no spaces to stretch: lines are set ragged right, as help2man's English ones could
# be too, rather than justified with gaps between the words of the Latin text among it.
file(READ ${page} roff)
string(REGEX REPLACE "(\n\\.TH [^\n]*\n)" "\\1.ad l\n" roff "${roff}")
file(WRITE ${page} "${roff}")

# Debian installs manual pages compressed the reproducible way: best compression, no time stamp.
execute_process(COMMAND gzip -9 -n -f ${page} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "gzip failed for ${page}")
endif()
