# Warnings as errors for our own code; sources are UTF-8 whatever the compiler's default.
function(pellix_target_defaults target)
  set(cxx "$<COMPILE_LANGUAGE:CXX>")
  target_compile_options(${target} PRIVATE
    "$<${cxx}:-Wall;-Wextra;-Wpedantic;-Werror;-finput-charset=UTF-8>")
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # GCC 12 reports std::string concatenation inlined at -O2 and above as overlapping copies
    # (its bug 105329); the warning says nothing about our code there.
    target_compile_options(${target} PRIVATE "$<${cxx}:-Wno-restrict>")
  endif()
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
endfunction()
