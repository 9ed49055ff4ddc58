# Warning and sanitizer flags shared by every target of the project.
add_library(lucivanta_flags INTERFACE)
target_compile_options(lucivanta_flags INTERFACE -Wall -Wextra)
if(LUCIVANTA_WERROR)
  target_compile_options(lucivanta_flags INTERFACE -Werror)
endif()
if(LUCIVANTA_SANITIZE)
  # gcc's "undefined" group leaves out float-to-integer overflow; named, both compilers check it.
  set(LUCIVANTA_SANITIZERS address,undefined,float-cast-overflow)
  target_compile_options(lucivanta_flags INTERFACE -fsanitize=${LUCIVANTA_SANITIZERS} -fno-omit-frame-pointer
                                                   -fno-sanitize-recover=all)
  target_link_options(lucivanta_flags INTERFACE -fsanitize=${LUCIVANTA_SANITIZERS})
endif()

# The fuzz targets of tests/fuzz need libFuzzer (clang). In a sanitizer build every target then
# carries the coverage instrumentation, so that one build serves the unit tests and the fuzzers.
set(LUCIVANTA_FUZZ OFF)
if(LUCIVANTA_SANITIZE AND LUCIVANTA_TESTS AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  include(CheckCXXSourceCompiles)
  set(CMAKE_REQUIRED_FLAGS -fsanitize=fuzzer)
  check_cxx_source_compiles("#include <cstddef>
    #include <cstdint>
    extern \"C\" int LLVMFuzzerTestOneInput(const uint8_t*, std::size_t) { return 0; }" LUCIVANTA_HAVE_LIBFUZZER)
  unset(CMAKE_REQUIRED_FLAGS)
  if(LUCIVANTA_HAVE_LIBFUZZER)
    set(LUCIVANTA_FUZZ ON)
    target_compile_options(lucivanta_flags INTERFACE -fsanitize=fuzzer-no-link)
  endif()
endif()
