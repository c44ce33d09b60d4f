# Runs the authors' tool on the sample medium and checks its answers.
function(expect_output args expected)
  execute_process(COMMAND ${SETUPINF} ${args} OUTPUT_VARIABLE out RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "setupinf ${args}: exit ${rc}")
  endif()
  if(NOT out STREQUAL "${expected}")
    message(FATAL_ERROR "setupinf ${args}: got [${out}], expected [${expected}]")
  endif()
endfunction()

expect_output("value;${MEDIUM};bootsetup;VERSION" "2.0.0.1\n")
expect_output("value;${MEDIUM};BootSetup;NoSuchKey" "\n")
expect_output("int;${MEDIUM};BootSetup;TotalFileSize;1" "15576\n")
expect_output("int;${MEDIUM};BootSetup;Version;-5" "-5\n")
expect_output("languages;${MEDIUM}" "English\nDeutsch\n")
expect_output("text;${MEDIUM};1" "LICENSE.TXT\n")
expect_output("text;${MEDIUM};--language;Deutsch;1" "LIZENZ.TXT\n")
expect_output("text;${MEDIUM};600" "macros\\;MACROS\n")

execute_process(COMMAND ${SETUPINF} frobnicate RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 2 OR NOT err MATCHES "^usage: setupinf")
  message(FATAL_ERROR "usage error: exit ${rc}, [${err}]")
endif()
execute_process(COMMAND ${SETUPINF} value ${MEDIUM} OnlySection RESULT_VARIABLE rc ERROR_QUIET)
if(NOT rc EQUAL 2)
  message(FATAL_ERROR "missing argument: exit ${rc}")
endif()
execute_process(COMMAND ${SETUPINF} show /nonexistent/medium RESULT_VARIABLE rc ERROR_QUIET OUTPUT_QUIET)
if(NOT rc EQUAL 1)
  message(FATAL_ERROR "missing medium: exit ${rc}")
endif()

# The plan of the sample medium: 22 entries, fixed list first.
execute_process(COMMAND ${SETUPINF} plan ${MEDIUM} --components macros,sample,dxf
                        --sirel C:\\SIREL --dxf E:\\CAD
                OUTPUT_VARIABLE out RESULT_VARIABLE rc)
string(REGEX MATCHALL "\n" newlines "${out}")
list(LENGTH newlines count)
if(NOT rc EQUAL 0 OR NOT count EQUAL 22)
  message(FATAL_ERROR "plan: exit ${rc}, ${count} lines: [${out}]")
endif()
if(NOT out MATCHES "^D:\\\\README.TXT\tC:\\\\SIREL\\\\README.TXT\n"
   OR NOT out MATCHES "D:\\\\dxf\\\\parts\\\\WASHER.DXF\tE:\\\\CAD\\\\DRAWINGS\\\\parts\\\\WASHER.DXF\n$")
  message(FATAL_ERROR "plan: unexpected entries [${out}]")
endif()

# With --drive the letters given form the whole table.
get_filename_component(parent ${MEDIUM} DIRECTORY)
execute_process(COMMAND ${SETUPINF} plan ${MEDIUM} --components dxf --dxf C:\\CAD
                        --drive E=${parent} --drive C=/tmp
                OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^E:\\\\medium\\\\dxf\\\\BRACKET.DXF\tC:\\\\CAD\\\\DRAWINGS\\\\BRACKET.DXF\n")
  message(FATAL_ERROR "plan with drives: exit ${rc}, [${out}]")
endif()

# A plan that leaves its base is refused.
set(bad ${WORK}/bad-medium)
file(REMOVE_RECURSE ${bad})
file(WRITE ${bad}/a.txt "a")
file(WRITE ${bad}/SETUP.INF "[Languages]\n1=E\n[E]\nTxt_500=a.txt\nTxt_501=..\\..\\escape.txt\n")
execute_process(COMMAND ${SETUPINF} plan ${bad} --components macros --sirel C:\\SIREL
                RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_VARIABLE out)
if(NOT rc EQUAL 1 OR NOT err MATCHES "refused" OR NOT out STREQUAL "")
  message(FATAL_ERROR "refused plan: exit ${rc}, [${err}] [${out}]")
endif()
execute_process(COMMAND ${SETUPINF} plan ${MEDIUM} --components teapot --sirel C:\\S
                RESULT_VARIABLE rc ERROR_QUIET)
if(NOT rc EQUAL 2)
  message(FATAL_ERROR "unknown component: exit ${rc}")
endif()

# The checksum list of a copy of the sample medium: sha256sum reads it, the
# check finds it right, a second run writes the same bytes, and a changed
# file is named by the check.
set(listed ${WORK}/listed-medium)
file(REMOVE_RECURSE ${listed})
file(COPY ${MEDIUM}/ DESTINATION ${listed})
execute_process(COMMAND ${SETUPINF} manifest ${listed} OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "SETUP.SUM: 26 file(s) listed\n")
  message(FATAL_ERROR "manifest: exit ${rc}, [${out}]")
endif()
file(READ ${listed}/SETUP.SUM first)
find_program(SHA256SUM sha256sum)
if(SHA256SUM)
  execute_process(COMMAND ${SHA256SUM} --check --strict --quiet SETUP.SUM WORKING_DIRECTORY ${listed}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "sha256sum -c SETUP.SUM: exit ${rc}, [${out}] [${err}]")
  endif()
endif()
execute_process(COMMAND ${SETUPINF} check ${listed} OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "SETUP.INF: read as Windows-1252\nSETUP.INF: 0 error(s), 0 warning(s)\n")
  message(FATAL_ERROR "check of the listed medium: exit ${rc}, [${out}]")
endif()
execute_process(COMMAND ${SETUPINF} manifest ${listed} OUTPUT_QUIET RESULT_VARIABLE rc)
file(READ ${listed}/SETUP.SUM second)
if(NOT rc EQUAL 0 OR NOT first STREQUAL second)
  message(FATAL_ERROR "manifest written twice: exit ${rc}, the lists differ")
endif()
file(APPEND ${listed}/dxf/parts/WASHER.DXF "0\n")
execute_process(COMMAND ${SETUPINF} check ${listed} OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 1 OR NOT out MATCHES "error: \"dxf/parts/WASHER.DXF\" differs from its checksum in SETUP.SUM")
  message(FATAL_ERROR "check of a changed file: exit ${rc}, [${out}]")
endif()
# Where the plan is refused, no list is written.
execute_process(COMMAND ${SETUPINF} manifest ${bad} RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_QUIET)
if(NOT rc EQUAL 1 OR NOT err MATCHES "the plan is refused" OR EXISTS ${bad}/SETUP.SUM)
  message(FATAL_ERROR "manifest of a refused plan: exit ${rc}, [${err}]")
endif()
