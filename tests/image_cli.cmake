# setupinf image: a medium with a check error, an image inside the medium, no
# xorriso and a failing xorriso each write nothing (an older image stays as
# it was); then the image of the staged sample medium, with its checksum
# list, as the author makes it: check, manifest, image. It is left in
# WORK/image/sirel.iso for the install tests.
set(work ${WORK}/image)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work}/bin)

# image(EXPECTED_RC ARGS...): the tool with ARGS; sets out and err.
function(image expected_rc)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env ${env} ${SETUPINF} image ${ARGN}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL expected_rc)
    message(FATAL_ERROR "image ${ARGN}: exit ${rc}, expected ${expected_rc}; out [${out}] err [${err}]")
  endif()
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

function(expect_text name text pattern)
  if(NOT text MATCHES "${pattern}")
    message(FATAL_ERROR "${name}: [${text}] does not match [${pattern}]")
  endif()
endfunction()

# The staged medium, as a delivery: the program, its Qt libraries, SETUP.SUM.
get_filename_component(stage ${PROGRAM} DIRECTORY)
file(COPY ${stage}/ DESTINATION ${work}/medium USE_SOURCE_PERMISSIONS)
set(medium ${work}/medium)
set(iso ${work}/sirel.iso)

# Refusals: nothing is written, an image already there is kept.
file(COPY ${MEDIUM}/ DESTINATION ${work}/faulty)
file(REMOVE ${work}/faulty/README.TXT)
image(1 ${work}/faulty --out ${iso})
expect_text("a check error" "${out}" "error: [^\n]*README.TXT")
expect_text("a check error" "${err}" "the medium has [1-9][0-9]* error\\(s\\); no image is written")
if(EXISTS ${iso})
  message(FATAL_ERROR "an image of a faulty medium was written")
endif()
image(1 ${medium} --out ${medium}/sirel.iso)
expect_text("inside the medium" "${err}" "cannot be written into the medium")
image(1 ${medium} --out ${work}/no/such/folder/sirel.iso)
expect_text("no folder" "${err}" "the folder of the image does not exist")
image(2 ${medium})

file(WRITE ${iso} "an older image")
set(env PATH=${work}/bin)
image(1 ${medium} --out ${iso})
expect_text("no xorriso" "${err}" "xorriso, which writes the image, is not installed")
# A writer that fails part-way, leaving a partial file behind.
file(WRITE ${work}/bin/xorriso [=[#!/bin/sh
while [ $# -gt 1 ]; do [ "$1" = -o ] && printf 'part' >"$2"; shift; done
echo "xorriso : FAILURE : the disc is full" >&2
exit 5
]=])
file(CHMOD ${work}/bin/xorriso PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
image(1 ${medium} --out ${iso})
expect_text("a failing xorriso" "${err}" "the disc is full\n.*xorriso failed \\(exit 5\\); no image is written")
file(READ ${iso} kept)
if(NOT kept STREQUAL "an older image" OR EXISTS ${iso}.new)
  message(FATAL_ERROR "a failed run changed the image or left its part: [${kept}]")
endif()
file(REMOVE ${iso})
set(env "")

# The author's path.
foreach(step check manifest)
  execute_process(COMMAND ${SETUPINF} ${step} ${medium} RESULT_VARIABLE rc OUTPUT_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "setupinf ${step} of the staged medium: exit ${rc} [${out}]")
  endif()
endforeach()
string(TIMESTAMP t0 "%s%f")
image(0 ${medium} --out ${iso})
string(TIMESTAMP t1 "%s%f")
math(EXPR ms "(${t1} - ${t0}) / 1000")
file(SIZE ${iso} size)
message(STATUS "image of the staged sample medium: ${size} bytes in ${ms} ms")
expect_text("the image" "${out}" "sirel.iso: ${size} bytes, volume SIREL, ")

# The three name trees: Rock Ridge and Joliet keep the names as written (and
# the dot-names), plain ISO 9660 has them in upper case.
foreach(tree "nojoliet;'macros'\n.*'sirelsetup'" "norock;'macros'\n.*'sirelsetup'" "ecma119;'MACROS'\n.*'SIRELSETUP'")
  list(GET tree 0 fs)
  list(GET tree 1 pattern)
  execute_process(COMMAND xorriso -read_fs ${fs} -indev ${iso} -ls /
                  OUTPUT_VARIABLE listing ERROR_VARIABLE listing RESULT_VARIABLE rc)
  expect_text("the ${fs} tree (exit ${rc})" "${listing}" "${pattern}")
  expect_text("the volume id" "${listing}" "Volume id +: 'SIREL'\n")
endforeach()
