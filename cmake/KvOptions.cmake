# One interface target carries the language level, warnings and Qt defines for all of our own code.
add_library(kv_options INTERFACE)
target_compile_features(kv_options INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
target_compile_options(kv_options INTERFACE -Wall -Wextra)
if(KV_WERROR)
  target_compile_options(kv_options INTERFACE -Werror)
endif()
target_compile_definitions(kv_options INTERFACE QT_NO_CAST_FROM_ASCII QT_NO_CONTEXTLESS_CONNECT)
target_include_directories(kv_options INTERFACE ${PROJECT_SOURCE_DIR})

if(KV_SANITIZE)
  # Applied to everything we build, so that a fault anywhere stops the test that hit it.
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# libFuzzer needs clang; with another compiler the fuzz targets are left out.
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  set(KV_CAN_FUZZ ON)
  if(KV_SANITIZE)
    # Coverage counters in every library, so that the fuzzers are guided through our parsers, not just their mains.
    add_compile_options(-fsanitize=fuzzer-no-link)
  endif()
else()
  set(KV_CAN_FUZZ OFF)
endif()
