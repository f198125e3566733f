# Writes huelark-cli's manual page from its --help: the synopsis, every
# command as the help describes it, and the exit statuses.
#   cmake -DCLI=path/to/huelark-cli -DOUT=huelark-cli.1 -DVERSION=x.y.z -P ManPage.cmake
execute_process(COMMAND ${CLI} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${CLI} --help failed (${status})")
endif()

# Text as troff shows it literally: backslashes and hyphens escaped, and no
# line taken for a request because of its first character.
string(REPLACE "\\" "\\e" help "${help}")
string(REPLACE "-" "\\-" help "${help}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")

string(FIND "${help}" "\n\n" synopsis_end)
string(FIND "${help}" "\nExit status:" exit_start)
if(synopsis_end EQUAL -1 OR exit_start EQUAL -1)
  message(FATAL_ERROR "${CLI} --help has no synopsis or no exit status")
endif()
string(SUBSTRING "${help}" 0 ${synopsis_end} synopsis)
string(REGEX REPLACE "^Usage: " "" synopsis "${synopsis}")
string(REGEX REPLACE "\n +" "\n" synopsis "${synopsis}")
math(EXPR commands_start "${synopsis_end} + 2")
math(EXPR commands_length "${exit_start} - ${commands_start}")
string(SUBSTRING "${help}" ${commands_start} ${commands_length} commands)
math(EXPR exit_start "${exit_start} + 14")
string(SUBSTRING "${help}" ${exit_start} -1 exit_status)
string(STRIP "${exit_status}" exit_status)

file(WRITE ${OUT} ".TH HUELARK\\-CLI 1 \"\" \"Huelark ${VERSION}\" \"User Commands\"
.SH NAME
huelark\\-cli \\- convert, name and harmonise colours, read palettes and images
.SH SYNOPSIS
.nf
${synopsis}
.fi
.SH DESCRIPTION
.B huelark\\-cli
does from the command line what the Huelark window does: it shows a colour
in every notation, names it, derives its harmonies, reads and writes
palette files, lists the history and extracts the dominant colours of images.
It needs no display.
.SH COMMANDS
.nf
${commands}
.fi
.SH \"EXIT STATUS\"
${exit_status}
.SH FILES
.TP
.I $XDG_DATA_HOME/com.quillfen.Huelark/ColorNames.db
your names database, as the window uses it
.TP
.I share/huelark/ColorNames.db
the names database installed with the program, in the share folder beside
its bin folder
")
