# Native build of the portable imaging code, under AddressSanitizer and UndefinedBehaviorSanitizer.
find_package(ZLIB REQUIRED)
find_package(JPEG REQUIRED)
find_package(PNG REQUIRED)
find_package(TIFF REQUIRED)
find_package(GIF REQUIRED)

set(sanitize -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
option(ORLO_FUZZ "Build the libFuzzer targets (clang)" OFF)
if(ORLO_FUZZ)
  list(APPEND sanitize -fsanitize=fuzzer-no-link)
endif()
add_compile_options(${sanitize} -g)
add_link_options(${sanitize})

folder_sources(imaging_sources imaging)
add_library(imaging STATIC ${imaging_sources})
target_include_directories(imaging PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(imaging PUBLIC TIFF::TIFF PNG::PNG GIF::GIF JPEG::JPEG ZLIB::ZLIB)

add_test_folder(imaging imaging)
include(cmake/fuzz.cmake)
