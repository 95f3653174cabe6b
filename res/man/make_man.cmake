# Quorvane — a viewer and editor for Dominara unit and leader-head animations.
# Copyright (C) 2026 The Quorvane developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Writes a program's manual page from its --help output with help2man, compressed as
# Debian installs manual pages. Run at build time:
#   cmake -DPROGRAM=exe -DNAME="one-line summary" -DVERSION=x.y.z -DINCLUDE=page.h2m
#         -DOUTPUT=page.1.gz -DHELP2MAN=path -DGZIP=path [-DCOMMANDS=ON] -P make_man.cmake
# With COMMANDS=ON the program is taken to list its commands under "Commands:" in its
# --help text: that text replaces @OVERVIEW@ in the include file, and each command's own
# --help goes verbatim into a COMMANDS section.
# The GUI program needs no display when QT_QPA_PLATFORM=offscreen is in the environment.
cmake_minimum_required(VERSION 3.25)
foreach(v PROGRAM NAME VERSION INCLUDE OUTPUT HELP2MAN GZIP)
  if(NOT DEFINED ${v})
    message(FATAL_ERROR "make_man.cmake: ${v} is not set")
  endif()
endforeach()

# Text shown as-is in roff: escape the escape character, hyphens (so they stay minus
# signs that can be searched for and copied), and a dot or quote that starts a line.
function(roff_verbatim text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

file(READ "${INCLUDE}" include_text)
if(COMMANDS)
  execute_process(COMMAND "${PROGRAM}" --help OUTPUT_VARIABLE overview RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} --help failed (${rc})")
  endif()
  # help2man would reflow the wide command list: it goes in as printed, where the
  # include file says @OVERVIEW@.
  string(REGEX REPLACE "^Usage:[^\n]*\n+" "" listing_text "${overview}")
  roff_verbatim("${listing_text}" listing_text)
  string(REPLACE "@OVERVIEW@" ".nf\n${listing_text}.fi" include_text "${include_text}")
  string(REGEX MATCH "Commands:\n(  [^\n]*\n)+" listing "${overview}")
  string(REGEX MATCHALL "\n  [a-z][a-z0-9-]*" names "${listing}")
  if(NOT names)
    message(FATAL_ERROR "${PROGRAM} --help lists no commands")
  endif()
  string(APPEND include_text "\n[COMMANDS]\n")
  foreach(name ${names})
    string(STRIP "${name}" name)
    execute_process(COMMAND "${PROGRAM}" ${name} --help OUTPUT_VARIABLE help RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "${PROGRAM} ${name} --help failed (${rc})")
    endif()
    # The usage line names the program by its full path and leaves the command out.
    string(REGEX REPLACE "^Usage: [^ \n]*quorvane-cli" "Usage: quorvane-cli ${name}" help "${help}")
    roff_verbatim("${help}" help)
    string(APPEND include_text ".SS ${name}\n.nf\n${help}\n.fi\n")
  endforeach()
endif()

get_filename_component(stem "${OUTPUT}" NAME_WLE)
set(work "${CMAKE_CURRENT_BINARY_DIR}/${stem}")
file(WRITE "${work}.h2m" "${include_text}")
execute_process(COMMAND "${HELP2MAN}" --no-info --section=1 "--name=${NAME}" "--version-string=${VERSION}"
                        "--include=${work}.h2m" "--output=${work}" "${PROGRAM}"
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "help2man could not write the manual page of ${PROGRAM}")
endif()
execute_process(COMMAND "${GZIP}" -9 -n -c "${work}" OUTPUT_FILE "${OUTPUT}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  file(REMOVE "${OUTPUT}")
  message(FATAL_ERROR "gzip could not compress ${work}")
endif()
