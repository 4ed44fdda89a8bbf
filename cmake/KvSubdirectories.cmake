# Adds each listed folder that already holds a CMakeLists.txt, so that folders being written at
# the same time by different people do not break everybody's configure step.
function(kv_add_subdirectories)
  foreach(folder IN LISTS ARGN)
    if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${folder}/CMakeLists.txt")
      add_subdirectory(${folder})
    endif()
  endforeach()
endfunction()
