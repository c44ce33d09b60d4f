# The install without a window from the disc image that image_cli made:
# MODE=extracted installs from the image's files as xorriso extracts them;
# MODE=mounted loop-mounts the image read-only in a private mount namespace
# (where the kernel cannot mount ISO 9660, through fuseiso instead; skipped
# where the system refuses both) and checks that the program sees the disc as
# a CD-ROM drive. Either way the tree equals the plan.
include(${CMAKE_CURRENT_LIST_DIR}/plan_tree.cmake)
set(work ${WORK}/image-${MODE})
set(iso ${WORK}/image/sirel.iso)

if(MODE STREQUAL "mounted" AND NOT INNER)
  execute_process(COMMAND unshare -m --propagation private true RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message("SKIP: no private mount namespace here (unshare -m: ${err})")
    return()
  endif()
  execute_process(COMMAND unshare -m --propagation private ${CMAKE_COMMAND} -DINNER=1 -DMODE=${MODE}
                          -DSETUPINF=${SETUPINF} -DWORK=${WORK} -P ${CMAKE_CURRENT_LIST_FILE}
                  RESULT_VARIABLE rc)
  # A FUSE mount's daemon would keep the namespace alive after a failure.
  execute_process(COMMAND pkill -f "fuseiso -p ${iso}" OUTPUT_QUIET ERROR_QUIET)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the install from the mounted image failed (exit ${rc})")
  endif()
  return()
endif()

file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work}/disc)
set(disc ${work}/disc)
if(MODE STREQUAL "mounted")
  execute_process(COMMAND mount -o loop,ro ${iso} ${disc} RESULT_VARIABLE rc ERROR_VARIABLE err)
  set(unmount umount ${disc})
  if(NOT rc EQUAL 0)
    find_program(FUSEISO fuseiso)
    set(loopError "${err}")
    set(err "not installed")
    if(FUSEISO)
      execute_process(COMMAND ${FUSEISO} -p ${iso} ${disc} RESULT_VARIABLE rc ERROR_VARIABLE err)
      set(unmount fusermount -u ${disc})
    endif()
    if(NOT rc EQUAL 0)
      message("SKIP: the system refuses to mount the image (mount -o loop,ro: ${loopError}; fuseiso: ${err})")
      return()
    endif()
    message(STATUS "the kernel cannot mount the image (${loopError}); mounted through fuseiso")
  endif()
else()
  execute_process(COMMAND xorriso -osirrox on -indev ${iso} -extract / ${disc}
                  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "xorriso cannot extract the image: ${err}")
  endif()
endif()

string(REPLACE "/" "\\" target "Z:${work}/target")
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY ${disc}/sirelsetup
                        /S /ACCEPTLICENSE /COMPONENTS=macros,sample,dxf "/SIREL=${target}\\SIREL"
                        "/DXF=${target}\\CAD" --log=${work}/run.log
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the install from the ${MODE} image: exit ${rc}; out [${out}] err [${err}]")
endif()
check_tree_is_plan(${SETUPINF} ${disc} ${work}/target)
if(MODE STREQUAL "mounted")
  execute_process(COMMAND ${unmount})
endif()

# The start line names the medium's folder and the drive table; on a mounted
# disc the medium's drive is a CD-ROM (type 5).
file(STRINGS ${work}/run.log start REGEX "\tstart\t")
if(NOT start MATCHES "\t([A-Z]):[^\t]*\t[0-9a-f]+\t([^\t]*)$")
  message(FATAL_ERROR "no medium folder or drive table in the start line: [${start}]")
endif()
set(letter ${CMAKE_MATCH_1})
set(drives ${CMAKE_MATCH_2})
if(MODE STREQUAL "mounted" AND NOT drives MATCHES "(^| )${letter}:=5( |$)")
  message(FATAL_ERROR "the mounted disc ${letter}: is not a CD-ROM drive: [${drives}]")
endif()
message(STATUS "installed from the ${MODE} image, medium on ${letter}: (drives ${drives})")
