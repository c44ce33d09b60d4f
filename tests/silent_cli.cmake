# The Linux program on the staged sample medium without a display: the usage,
# a bad command line, a refused licence and a silent install whose tree is
# the plan of the authors' tool for the same choices.
set(work ${WORK}/silent-cli)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})
string(REPLACE "/" "\\" dos "Z:${work}")

function(run expected_rc)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY ${PROGRAM} ${ARGN}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL expected_rc)
    message(FATAL_ERROR "${ARGN}: exit ${rc}, expected ${expected_rc}; out [${out}] err [${err}]")
  endif()
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

run(0 /?)
if(NOT out MATCHES "Exit codes: 0 installed")
  message(FATAL_ERROR "usage: [${out}]")
endif()
run(1 /frobnicate)
if(NOT err STREQUAL "setup: unknown option \"/frobnicate\" (see /?)\n")
  message(FATAL_ERROR "bad option: [${err}]")
endif()
run(3 --silent "--sirel=${dos}\\SIREL")
run(0 /S /ACCEPTLICENSE /COMPONENTS=macros,sample,dxf "/SIREL=${dos}\\SIREL" "/DXF=${dos}\\CAD")
if(NOT err MATCHES "The installation is complete")
  message(FATAL_ERROR "no success message on stderr: [${err}]")
endif()

# The tree equals the plan.
execute_process(COMMAND ${SETUPINF} plan ${MEDIUM} --components macros,sample,dxf
                        --sirel C:\\SIREL --dxf C:\\CAD
                OUTPUT_VARIABLE plan RESULT_VARIABLE rc)
string(REGEX MATCHALL "C:\\\\[^\n]*" targets "${plan}")
list(LENGTH targets planned)
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${work} ${work}/*)
list(LENGTH installed count)
if(NOT count EQUAL planned OR planned EQUAL 0)
  message(FATAL_ERROR "${count} files installed, ${planned} planned: ${installed}")
endif()
foreach(t IN LISTS targets)
  string(REPLACE "C:\\" "" rel "${t}")
  string(REPLACE "\\" "/" rel "${rel}")
  if(NOT EXISTS ${work}/${rel})
    message(FATAL_ERROR "missing: ${rel}")
  endif()
endforeach()
