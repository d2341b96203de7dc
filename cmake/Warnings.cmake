# Project-wide compile settings applied through one interface target.
add_library(vantrel_settings INTERFACE)
target_compile_options(vantrel_settings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
  -Wno-sign-conversion)
if(VANTREL_WERROR)
  target_compile_options(vantrel_settings INTERFACE -Werror)
endif()
if(VANTREL_ASSERTIONS)
  # Makes std::span and the containers abort on an index out of range instead of reading past it.
  target_compile_definitions(vantrel_settings INTERFACE _GLIBCXX_ASSERTIONS)
endif()
if(VANTREL_SANITIZE)
  target_compile_options(vantrel_settings INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)
  target_link_options(vantrel_settings INTERFACE -fsanitize=address,undefined)
  target_sources(vantrel_settings INTERFACE ${CMAKE_CURRENT_LIST_DIR}/lsan_suppressions.cpp)
endif()
if(VANTREL_FUZZ)
  # Coverage feedback for the fuzzers reaches into the core library too.
  target_compile_options(vantrel_settings INTERFACE -fsanitize=fuzzer-no-link,address,undefined
    -fno-omit-frame-pointer)
  target_link_options(vantrel_settings INTERFACE -fsanitize=address,undefined)
endif()
