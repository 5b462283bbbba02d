# Fuzzing of the imaging decoders (native only). The seed runner feeds each format's test pictures and kept
# crashers to its decoder as a ctest test; with ORLO_FUZZ=ON (a build of its own, build-fuzz/) every format
# also gets a libFuzzer target fuzz_<format>. "streamed", the conversion's rows read ahead into the resampler,
# starts from the PNG and JPEG pictures.
set(ORLO_FUZZ_FORMATS targa tiff eps pcx rla sgi psd ppm autodesk pcd gif cut psp png bmp jpeg streamed)
set(fuzz_dir ${CMAKE_SOURCE_DIR}/tests/fuzz)

add_library(fuzz_decoders STATIC ${fuzz_dir}/FuzzDecoders.cpp)
target_include_directories(fuzz_decoders PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(fuzz_decoders PUBLIC imaging)

add_executable(fuzz_seeds ${fuzz_dir}/SeedRunner.cpp)
target_link_libraries(fuzz_seeds PRIVATE fuzz_decoders)
foreach(format ${ORLO_FUZZ_FORMATS})
  set(seeds ${CMAKE_SOURCE_DIR}/tests/data/${format})
  if(format STREQUAL "streamed")
    set(seeds ${CMAKE_SOURCE_DIR}/tests/data/png ${CMAKE_SOURCE_DIR}/tests/data/jpeg)
  endif()
  add_test(NAME fuzz_seeds_${format} COMMAND fuzz_seeds ${format} ${seeds} ${fuzz_dir}/regressions/${format})
endforeach()

if(ORLO_FUZZ)
  add_custom_target(fuzz_all)
  foreach(format ${ORLO_FUZZ_FORMATS})
    add_executable(fuzz_${format} ${fuzz_dir}/FuzzTarget.cpp)
    target_compile_definitions(fuzz_${format} PRIVATE ORLO_FUZZ_FORMAT="${format}")
    target_link_libraries(fuzz_${format} PRIVATE fuzz_decoders)
    target_link_options(fuzz_${format} PRIVATE -fsanitize=fuzzer)
    add_dependencies(fuzz_all fuzz_${format})
  endforeach()
endif()
