# Compiler settings shared by every target of the project.
add_library(scrivel_options INTERFACE)
target_include_directories(scrivel_options INTERFACE ${PROJECT_SOURCE_DIR}/src)

if(MSVC)
  target_compile_options(scrivel_options INTERFACE /W4 /utf-8 /EHsc)
  target_compile_definitions(scrivel_options INTERFACE _CRT_SECURE_NO_WARNINGS NOMINMAX WIN32_LEAN_AND_MEAN)
else()
  target_compile_options(scrivel_options INTERFACE -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
endif()

if(WIN32)
  # Narrow (ANSI) Win32 calls throughout; the program targets Windows 7 and later.
  target_compile_definitions(scrivel_options INTERFACE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601 WINVER=0x0601)
  if(MINGW)
    # A static runtime lets the .exe files run on a bare Windows.
    target_link_options(scrivel_options INTERFACE -static -static-libgcc -static-libstdc++)
  endif()
endif()

if(SCRIVEL_SANITIZE)
  # Global, so that GoogleTest is instrumented like the code under test.
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(SCRIVEL_FUZZ)
  # Coverage instrumentation in every library, not only in the fuzz targets: otherwise the fuzzer
  # cannot see which paths of the code under test an input reaches.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
