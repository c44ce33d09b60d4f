# Puts beside the staged program the Qt it needs to run from the medium alone:
# the libraries it and the chosen plugins load, except those every Debian 12
# desktop has (docs/decisions.md gives the list and why), under qt/lib, the
# plugins under qt/plugins/<kind>, and qt.conf, which points Qt at them. The
# program finds qt/lib through its own run path ($ORIGIN/qt/lib).
#
#   cmake -DBUILT=<program as built> -DSTAGED=<stage>/sirelsetup
#         -DPLUGINS=<plugin>|<plugin>... [-DSTRIP=strip] -P stage_qt.cmake
cmake_minimum_required(VERSION 3.25)

# Libraries of the base system, by file name.
set(base
  "^ld-linux" "^libc\\.so" "^libm\\.so" "^libdl\\.so" "^libpthread\\.so" "^librt\\.so"
  "^libstdc\\+\\+\\.so" "^libgcc_s\\.so" "^lib(a|ub|l|t)san\\.so"
  "^libz\\.so" "^libzstd\\.so" "^liblzma\\.so" "^liblz4\\.so" "^libbz2\\.so" "^libbrotli"
  "^libglib-2\\.0\\.so" "^libgobject-2\\.0\\.so" "^libgio-2\\.0\\.so" "^libffi\\.so" "^libpcre2-8\\.so"
  "^libmount\\.so" "^libblkid\\.so" "^libselinux\\.so" "^libuuid\\.so"
  "^libdbus-1\\.so" "^libsystemd\\.so" "^libgcrypt\\.so" "^libgpg-error\\.so" "^libcap\\.so"
  "^libbsd\\.so" "^libmd\\.so" "^libicu"
  "^libX11\\.so" "^libX11-xcb\\.so" "^libXau\\.so" "^libXdmcp\\.so" "^libXext\\.so" "^libXrender\\.so"
  "^libXfixes\\.so" "^libXcursor\\.so" "^libXi\\.so" "^libICE\\.so" "^libSM\\.so" "^libxcb\\.so"
  "^libxkbcommon\\.so"
  "^libfontconfig\\.so" "^libfreetype\\.so" "^libharfbuzz\\.so" "^libgraphite2\\.so" "^libpng16\\.so"
  "^libexpat\\.so" "^libjpeg\\.so"
  "^libEGL\\.so" "^libGL\\.so" "^libGLX\\.so" "^libOpenGL\\.so" "^libGLdispatch\\.so")

foreach(var BUILT STAGED PLUGINS)
  if(NOT ${var})
    message(FATAL_ERROR "stage_qt.cmake: ${var} is not set")
  endif()
endforeach()
string(REPLACE "|" ";" plugins "${PLUGINS}")
get_filename_component(stage ${STAGED} DIRECTORY)
file(REMOVE_RECURSE ${stage}/qt)
file(MAKE_DIRECTORY ${stage}/qt/lib)

# The dependencies of the program as built (its run path leads nowhere
# there, so they resolve to the system's files) and of the plugins.
find_program(objdump NAMES objdump REQUIRED)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM linux+elf)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND ${objdump})
file(GET_RUNTIME_DEPENDENCIES EXECUTABLES ${BUILT} MODULES ${plugins}
     RESOLVED_DEPENDENCIES_VAR resolved UNRESOLVED_DEPENDENCIES_VAR unresolved)
if(unresolved)
  message(FATAL_ERROR "stage_qt.cmake: libraries not found: ${unresolved}")
endif()

set(shipped "")
foreach(lib IN LISTS resolved)
  get_filename_component(name ${lib} NAME)
  set(is_base FALSE)
  foreach(pattern IN LISTS base)
    if(name MATCHES "${pattern}")
      set(is_base TRUE)
      break()
    endif()
  endforeach()
  if(NOT is_base)
    # Under the name the program asks for, as a plain file: a disc without
    # Rock Ridge has no links.
    file(COPY_FILE ${lib} ${stage}/qt/lib/${name})
    list(APPEND shipped ${name})
  endif()
endforeach()
foreach(plugin IN LISTS plugins)
  get_filename_component(dir ${plugin} DIRECTORY)
  get_filename_component(kind ${dir} NAME)
  get_filename_component(name ${plugin} NAME)
  file(MAKE_DIRECTORY ${stage}/qt/plugins/${kind})
  file(COPY_FILE ${plugin} ${stage}/qt/plugins/${kind}/${name})
endforeach()
file(WRITE ${stage}/qt.conf "[Paths]\nPrefix = qt\nLibraries = lib\nPlugins = plugins\n")
if(STRIP)
  execute_process(COMMAND ${STRIP} --strip-unneeded ${STAGED} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "stage_qt.cmake: ${STRIP} ${STAGED} failed")
  endif()
endif()
list(SORT shipped)
list(JOIN shipped " " shipped)
message(STATUS "Qt staged in ${stage}/qt: ${shipped}")
