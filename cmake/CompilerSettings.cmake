# Warnings for every target of the project, and the sanitizer switch.
add_library(zelmpi_warnings INTERFACE)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  target_compile_options(zelmpi_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Wcast-align
    -Wnon-virtual-dtor -Wold-style-cast -Wnull-dereference -Wdouble-promotion -Wformat=2)
  if(ZELMPI_WERROR)
    target_compile_options(zelmpi_warnings INTERFACE -Werror)
  endif()
endif()

if(ZELMPI_SANITIZE)
  set(ZELMPI_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${ZELMPI_SANITIZER_FLAGS})
  add_link_options(${ZELMPI_SANITIZER_FLAGS})
endif()
