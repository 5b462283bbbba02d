# The benchmarks (make bench, bench/run.sh), built with the project's own flags but never by default: under
# Wine the conversion itself, the list and the change timer's soak; natively, without sanitizers (ORLO_BENCH), the imaging code and the
# peer libraries that it is measured against.
if(WIN32)
  foreach(bench changer_bench list_bench memory_bench)
    add_executable(${bench} EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/bench/${bench}.cpp)
    target_link_libraries(${bench} PRIVATE engine settings graphics system psapi)
    set_target_properties(${bench} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  endforeach()
  # The whole control panel: the change timer's soak (make soak) and its speed (make bench-panel).
  foreach(bench soak panel_bench)
    add_executable(${bench} EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/bench/${bench}.cpp)
    target_link_libraries(${bench} PRIVATE shell resources psapi)
    set_target_properties(${bench} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  endforeach()
elseif(ORLO_BENCH)
  add_executable(bench-native EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/bench/bench.cpp)
  target_link_libraries(bench-native PRIVATE imaging)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(PEERS REQUIRED IMPORTED_TARGET vips GraphicsMagick)
  add_executable(peers EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/bench/peers.cpp)
  target_include_directories(peers PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(peers PRIVATE PkgConfig::PEERS)
endif()
