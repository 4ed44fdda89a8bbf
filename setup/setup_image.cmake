# The `setup` executable: the shipped image, padded to 35,328 bytes in front of the package.
#
# It is compiled from the sources of the setup libraries themselves rather than linked against
# them, always without sanitizers: a sanitized build of the tests still ships the same small
# image, and the libraries keep their sanitizer flags for their own tests.
set(kv_setup_image_sources "")
foreach(library kv_posix_files kv_windows1252 kv_package_format kv_setup_platform
        kv_setup_package kv_setup_archive kv_setup_driver kv_setup_dialogs)
  get_target_property(library_sources ${library} SOURCES)
  get_target_property(library_dir ${library} SOURCE_DIR)
  foreach(source IN LISTS library_sources)
    if(IS_ABSOLUTE "${source}")
      list(APPEND kv_setup_image_sources "${source}")
    else()
      list(APPEND kv_setup_image_sources "${library_dir}/${source}")
    endif()
  endforeach()
endforeach()

add_executable(setup main.cpp ${kv_setup_image_sources})
target_include_directories(setup PRIVATE ${KV_GENERATED_DIR})
target_link_libraries(setup PRIVATE Qt6::Widgets ZLIB::ZLIB)
kv_setup_lean(setup)
kv_warnings(setup)
# The same image in every build type: no checks meant for debugging, no kept frame pointer.
target_compile_definitions(setup PRIVATE NDEBUG QT_NO_DEBUG)
# Calls go straight through the GOT: no PLT stub per imported function.
target_compile_options(setup PRIVATE -fno-sanitize=all -fomit-frame-pointer -fno-plt -fno-ident)
# Not the hardening the other programs get (cmake/KvHardening.cmake), nor a maintainer's from the
# environment: the stack checks in every function, the fortified variants among its few imports,
# the RELRO segment and immediate binding made the image 2,248 bytes larger when measured
# (31,408 → 33,656), more than half of what is left below its 35,328 bytes. What they guard
# against is bad input, and the image reads only the package behind itself, from the same file
# as its own code: whoever can change the one can change the other.
target_compile_options(setup PRIVATE -fno-stack-protector -fno-stack-clash-protection
  -U_FORTIFY_SOURCE)
# Page padding between segments is the largest cost; sections nobody calls go. A small common
# page size lets the data segment start right behind the code in the file (its address stays
# congruent to the offset modulo the real page size). Relative relocations are packed (DT_RELR,
# glibc 2.36); no lookup table for unwinding, since the image has no unwind information of its
# own; the weak hooks of the C start files are not imported, nor are spare dynamic slots kept;
# nothing is exported; only libraries it calls are needed (the sanitizer build's flags would
# otherwise keep all of them).
target_link_options(setup PRIVATE -fno-sanitize=all -Wl,-z,noseparate-code -Wl,-z,norelro
  -Wl,-z,common-page-size=64 -Wl,--gc-sections -Wl,--build-id=none -s
  -Wl,-z,pack-relative-relocs -Wl,--no-eh-frame-hdr -Wl,-z,nodynamic-undefined-weak
  -Wl,--spare-dynamic-tags=0 -Wl,--version-script=${CMAKE_CURRENT_SOURCE_DIR}/exports.map
  -Wl,--as-needed -Wl,-z,lazy)
set_property(TARGET setup APPEND PROPERTY LINK_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/exports.map)
# The section headers, their names and the compiler's notes behind the loaded part go too.
add_dependencies(setup elf_trim)
add_custom_command(TARGET setup POST_BUILD
  COMMAND elf_trim $<TARGET_FILE:setup>
  COMMAND ${CMAKE_COMMAND} -DIMAGE=$<TARGET_FILE:setup> -DLIMIT=35328
          -P ${CMAKE_CURRENT_SOURCE_DIR}/check_image.cmake
  VERBATIM)
# Qt's qt.conf, built in (see the top-level CMakeLists.txt): as a resource file that the setup
# registers itself, which costs the image less than the code rcc writes to register one.
set(kv_qt_conf_qrc "${KV_GENERATED_DIR}/built_in_qt_conf.qrc")
file(WRITE "${kv_qt_conf_qrc}"
  "<RCC><qresource prefix=\"/qt/etc\"><file alias=\"qt.conf\">${KV_GENERATED_DIR}/qt.conf</file></qresource></RCC>\n")
add_custom_command(OUTPUT "${KV_GENERATED_DIR}/built_in_qt_conf.h"
  COMMAND Qt6::rcc --binary --no-compress -o "${KV_GENERATED_DIR}/built_in_qt_conf.rcc" "${kv_qt_conf_qrc}"
  COMMAND ${CMAKE_COMMAND} -DINPUT=${KV_GENERATED_DIR}/built_in_qt_conf.rcc
          -DOUTPUT=${KV_GENERATED_DIR}/built_in_qt_conf.h -DNAME=kBuiltInQtConf
          -P ${PROJECT_SOURCE_DIR}/cmake/EmbedBytes.cmake
  DEPENDS "${KV_GENERATED_DIR}/qt.conf" "${kv_qt_conf_qrc}" ${PROJECT_SOURCE_DIR}/cmake/EmbedBytes.cmake
  VERBATIM)
target_sources(setup PRIVATE "${KV_GENERATED_DIR}/built_in_qt_conf.h")
