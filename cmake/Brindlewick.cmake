# Shared settings and helpers for every target of the tree.

set(BW_ROOT ${CMAKE_CURRENT_SOURCE_DIR})

add_library(bw_options INTERFACE)
target_include_directories(bw_options INTERFACE ${BW_ROOT})
# Warnings are errors in the project's own builds (scripts/build.sh turns this on); other
# build types and compilers may warn where GCC's optimiser sees false positives.
option(BW_WERROR "Treat compiler warnings as errors" OFF)
if(NOT BW_FUZZ)
  target_compile_options(bw_options INTERFACE -Wall -Wextra)
  if(BW_WERROR)
    target_compile_options(bw_options INTERFACE -Werror)
  endif()
endif()

if(BW_WIN64)
  # Statically linked: the exe imports only system DLLs, as Wine and bare Windows need.
  target_compile_definitions(bw_options INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  target_link_options(bw_options INTERFACE -static -static-libgcc -static-libstdc++)
  set(BW_DEPS ${BW_ROOT}/.deps/win64)
  add_library(bw_zlib STATIC IMPORTED)
  set_target_properties(bw_zlib PROPERTIES IMPORTED_LOCATION /usr/x86_64-w64-mingw32/lib/libz.a)
  add_library(bw_png STATIC IMPORTED)
  set_target_properties(bw_png PROPERTIES IMPORTED_LOCATION ${BW_DEPS}/lib/libpng16.a
    INTERFACE_INCLUDE_DIRECTORIES ${BW_DEPS}/include INTERFACE_LINK_LIBRARIES bw_zlib)
  add_library(bw_jpeg STATIC IMPORTED)
  set_target_properties(bw_jpeg PROPERTIES IMPORTED_LOCATION ${BW_DEPS}/lib/libjpeg.a
    INTERFACE_INCLUDE_DIRECTORIES ${BW_DEPS}/include)
  add_library(bw_zip STATIC IMPORTED)
  # libzip's Windows random source and file code need these system libraries.
  set_target_properties(bw_zip PROPERTIES IMPORTED_LOCATION ${BW_DEPS}/lib/libzip.a
    INTERFACE_INCLUDE_DIRECTORIES ${BW_DEPS}/include INTERFACE_COMPILE_DEFINITIONS ZIP_STATIC
    INTERFACE_LINK_LIBRARIES "bw_zlib;advapi32;bcrypt")
else()
  find_package(ZLIB REQUIRED)
  find_package(PNG REQUIRED)
  find_package(JPEG REQUIRED)
  # Debian's libzip CMake package names tools that libzip-dev does not install: pkg-config.
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET libzip)
  add_library(bw_zip ALIAS PkgConfig::LIBZIP)
  add_library(bw_zlib ALIAS ZLIB::ZLIB)
  add_library(bw_png ALIAS PNG::PNG)
  add_library(bw_jpeg ALIAS JPEG::JPEG)
endif()

# Test executables: natively each case is a ctest test; the win64 ones are listed
# in tests.txt and run under Wine by scripts/run-win-tests.sh.
if(NOT BW_FUZZ)
  if(BW_WIN64)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    add_library(bw_gtest ALIAS gtest)
    add_library(bw_gtest_main ALIAS gtest_main)
    file(WRITE ${CMAKE_BINARY_DIR}/tests.txt "")
  else()
    find_package(GTest REQUIRED)
    include(GoogleTest)
    add_library(bw_gtest ALIAS GTest::gtest)
    add_library(bw_gtest_main ALIAS GTest::gtest_main)
  endif()
endif()

# bw_add_test(NAME SOURCES a.cpp ... LIBS lib ... [MAIN own]): MAIN own when the
# test brings its own main().
function(bw_add_test name)
  cmake_parse_arguments(T "" "MAIN" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} bw_options bw_gtest)
  if(NOT T_MAIN STREQUAL "own")
    target_link_libraries(${name} PRIVATE bw_gtest_main)
  endif()
  target_compile_definitions(${name} PRIVATE BW_SOURCE_DIR="${BW_ROOT}")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/bin)
  if(BW_WIN64)
    file(APPEND ${CMAKE_BINARY_DIR}/tests.txt "${name}\n")
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 600)
  endif()
endfunction()

# Fuzz targets need clang's libFuzzer: a sub-build of this tree with clang.
function(bw_add_fuzz_subbuild)
  find_program(BW_CLANGXX clang++)
  find_program(BW_CLANG clang)
  if(NOT BW_CLANGXX OR NOT BW_CLANG)
    message(STATUS "clang not found: no fuzz targets")
    return()
  endif()
  include(ExternalProject)
  ExternalProject_Add(fuzz_targets
    SOURCE_DIR ${BW_ROOT}
    BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz-build
    CMAKE_GENERATOR Ninja
    CMAKE_ARGS -DBW_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
               -DCMAKE_C_COMPILER=${BW_CLANG} -DCMAKE_CXX_COMPILER=${BW_CLANGXX}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    LOG_CONFIGURE ON LOG_BUILD ON LOG_OUTPUT_ON_FAILURE ON)
endfunction()

# bw_add_fuzzer(NAME SOURCES ... LIBS ...): a libFuzzer target, in the fuzz sub-build.
function(bw_add_fuzzer name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS} bw_options)
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endfunction()

# Libraries used by fuzz targets are instrumented too.
if(BW_FUZZ)
  target_compile_options(bw_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined)
  target_link_options(bw_options INTERFACE -fsanitize=address,undefined)
endif()

# bw_pack_skin(NAME DIR OUT [STREAM]): target NAME packs the skin folder DIR (its .ini
# and the bitmaps it names) into the compressed container OUT at build time, with the
# NATIVE skinpack. STREAM writes the value a form's SkinStream holds instead: the
# container behind its 4-byte length. The win64 tree cannot run its own .exe, so it
# uses the native tree's tool, which scripts/build.sh builds first; a missing tool
# stops the build with a message.
set(BW_NATIVE_SKINPACK ${BW_ROOT}/build/native/bin/skinpack CACHE FILEPATH
    "Native skinpack that the win64 tree packs skins with")
function(bw_pack_skin name dir out)
  cmake_parse_arguments(P "STREAM" "" "" ${ARGN})
  set(command build)
  if(P_STREAM)
    set(command stream)
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*)
  get_filename_component(outdir ${out} DIRECTORY)
  if(BW_WIN64)
    # The tool lives in another tree, out of ninja's sight: pack on every build (a few
    # milliseconds) and touch OUT only when its bytes change.
    add_custom_target(${name} ALL
      COMMAND ${CMAKE_COMMAND} -DFILE=${BW_NATIVE_SKINPACK}
              "-DWHY=the native skinpack is missing: build the native tree first (scripts/build.sh does)"
              -P ${BW_ROOT}/cmake/BwRequireFile.cmake
      COMMAND ${CMAKE_COMMAND} -E make_directory ${outdir}
      COMMAND ${BW_NATIVE_SKINPACK} ${command} ${dir} ${out}.tmp
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${out}.tmp ${out}
      COMMAND ${CMAKE_COMMAND} -E remove ${out}.tmp
      BYPRODUCTS ${out}
      COMMENT "Packing skin ${dir}"
      VERBATIM)
  else()
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${outdir}
      COMMAND skinpack ${command} ${dir} ${out}
      DEPENDS skinpack ${sources}
      COMMENT "Packing skin ${dir}"
      VERBATIM)
    add_custom_target(${name} ALL DEPENDS ${out})
  endif()
endfunction()
