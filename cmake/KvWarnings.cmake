# Our own code builds with every common warning. Where we develop (the presets, and so CI)
# warnings are errors; a plain build that only names a build type, as a packager makes it with
# whatever compiler is at hand, reports them and still builds.
option(KV_WARNINGS_AS_ERRORS "Turn warnings in our own code into errors" OFF)

function(kv_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(KV_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
