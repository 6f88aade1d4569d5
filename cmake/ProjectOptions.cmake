# Warnings and sanitizers are interface targets that our own targets link
# PRIVATE, so that headers of other projects are not held to our warnings.

add_library(zemba_warnings INTERFACE)
target_compile_options(zemba_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast)
# CI builds turn every warning into an error.
if(DEFINED ENV{CI})
  set(_zemba_werror_default ON)
else()
  set(_zemba_werror_default OFF)
endif()
option(ZEMBA_WERROR "Treat warnings as errors" ${_zemba_werror_default})
if(ZEMBA_WERROR)
  target_compile_options(zemba_warnings INTERFACE -Werror)
endif()

# The simulation's own arithmetic converts no number silently.
add_library(zemba_strict_conversions INTERFACE)
target_compile_options(zemba_strict_conversions INTERFACE -Wconversion -Wsign-conversion)

set(ZEMBA_SANITIZE "" CACHE STRING "Sanitizers to build with: empty, address, or thread")
set_property(CACHE ZEMBA_SANITIZE PROPERTY STRINGS "" address thread)

add_library(zemba_sanitizers INTERFACE)
if(ZEMBA_SANITIZE STREQUAL "address")
  set(_zemba_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
elseif(ZEMBA_SANITIZE STREQUAL "thread")
  set(_zemba_san -fsanitize=thread -fno-omit-frame-pointer)
elseif(NOT ZEMBA_SANITIZE STREQUAL "")
  message(FATAL_ERROR "ZEMBA_SANITIZE must be empty, address or thread, not '${ZEMBA_SANITIZE}'")
endif()
if(_zemba_san)
  target_compile_options(zemba_sanitizers INTERFACE ${_zemba_san})
  target_link_options(zemba_sanitizers INTERFACE ${_zemba_san})
endif()

# Every target of ours links this one.
add_library(zemba_project_options INTERFACE)
target_link_libraries(zemba_project_options INTERFACE zemba_warnings zemba_sanitizers)
