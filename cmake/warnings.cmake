# Warnings for every target of the project; errors where SETUP_WERROR is on (CI).
add_library(setup_warnings INTERFACE)
target_compile_options(setup_warnings INTERFACE -Wall -Wextra -Wpedantic)
if(SETUP_WERROR)
  target_compile_options(setup_warnings INTERFACE -Werror)
endif()
