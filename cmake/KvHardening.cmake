# Every program is built the way Debian builds its packages with hardening=+all: fortified
# string and memory functions, stack protector, stack clash protection, format checks, PIE, full
# RELRO and immediate binding. infinstall runs as root, so this is not a matter of taste.
# A target whose size forbids the set (the setup image) takes it back explicitly.
#
# Flags a maintainer's build brings in the environment (CFLAGS, CXXFLAGS, LDFLAGS; CPPFLAGS is
# folded in before project()) come first and ours follow; _FORTIFY_SOURCE is only defined where
# those flags do not, so that a stronger level from there is not redefined.

# PIE for executables, PIC for libraries (policy CMP0083 is set by cmake_minimum_required 3.25).
include(CheckPIESupported)
check_pie_supported(LANGUAGES C CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

add_compile_options(-fstack-protector-strong -fstack-clash-protection -Wformat
                    -Werror=format-security)
# glibc fortifies only optimised code and warns otherwise; a build type of None or an empty one
# optimises as its flags say, and a maintainer's CPPFLAGS then bring the definition.
if(NOT "${CMAKE_C_FLAGS} ${CMAKE_CXX_FLAGS}" MATCHES "_FORTIFY_SOURCE")
  add_compile_options($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-D_FORTIFY_SOURCE=2>)
endif()
add_link_options(LINKER:-z,relro LINKER:-z,now)

# The same sources give the same bytes in any folder: the debug information (and with it the
# build ID, which is a hash over the whole linked file) names paths relative to the source tree.
# The later map wins for the build folder inside the source tree.
set(kv_build_folder_name "build")
file(RELATIVE_PATH kv_build_relative "${PROJECT_SOURCE_DIR}" "${PROJECT_BINARY_DIR}")
if(kv_build_relative STREQUAL "")
  set(kv_build_folder_name ".")
elseif(NOT kv_build_relative MATCHES "^\\.\\./" AND NOT IS_ABSOLUTE "${kv_build_relative}")
  set(kv_build_folder_name "${kv_build_relative}")
endif()
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.
                    -ffile-prefix-map=${PROJECT_BINARY_DIR}=${kv_build_folder_name})
