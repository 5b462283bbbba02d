# The shipped program: orlo.exe and its subsystems as static libraries, linked with the picture libraries.
set(ORLO_DEPS ${CMAKE_BINARY_DIR}/deps/i686 CACHE PATH "Cross-built picture libraries")
set(CMAKE_EXE_LINKER_FLAGS "${CMAKE_EXE_LINKER_FLAGS} -static -static-libgcc -static-libstdc++")
# SSE2 is the floor: it excludes only Pentium III, Athlon XP and older processors.
add_compile_options(-msse2 -mfpmath=sse)
# Windows 7 is the oldest Windows the program supports: it sizes the tray and tooltip structures.
add_compile_definitions(WINVER=0x0601 _WIN32_WINNT=0x0601 _WIN32_IE=0x0800 NOMINMAX WIN32_LEAN_AND_MEAN)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine-run.sh)

# A static library of one folder's sources; an interface library while the folder has none yet.
function(folder_library name)
  folder_sources(sources ${name})
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARGN})
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${ARGN})
  endif()
endfunction()

add_library(picture_libraries INTERFACE)
target_include_directories(picture_libraries INTERFACE ${ORLO_DEPS}/include)
target_link_libraries(picture_libraries INTERFACE
  ${ORLO_DEPS}/lib/libtiff.a ${ORLO_DEPS}/lib/libpng16.a ${ORLO_DEPS}/lib/libgif.a
  ${ORLO_DEPS}/lib/libjpeg.a /usr/i686-w64-mingw32/lib/libz.a)

folder_library(imaging picture_libraries)
target_include_directories(picture_libraries INTERFACE ${CMAKE_SOURCE_DIR})

# Each folder is one library, reaching only the folders below it: system/ knows no window and no picture,
# graphics/ no window, and engine/ and settings/ reach system/ and graphics/, never gui/.
folder_library(system ole32 oleaut32 uuid shlwapi shell32 version user32)
folder_library(graphics imaging system gdi32)
folder_library(gui graphics system comctl32 comdlg32)
folder_library(settings system)
folder_library(engine settings graphics system)
folder_library(forms gui)
folder_library(shell engine settings forms gui)

# The resources: icons made from the Tango theme at build time, the manifest and the version stamped with the
# project's version.
file(STRINGS ${CMAKE_SOURCE_DIR}/forms/icons.txt icon_lines REGEX "^[a-z]")
set(icon_files)
foreach(line IN LISTS icon_lines)
  string(REGEX MATCH "^[^ ]+" icon_name "${line}")
  list(APPEND icon_files ${CMAKE_BINARY_DIR}/icons/${icon_name}.ico)
endforeach()
add_custom_command(OUTPUT ${icon_files}
  COMMAND ${CMAKE_SOURCE_DIR}/tools/make-icons.sh ${CMAKE_SOURCE_DIR}/forms/icons.txt ${CMAKE_BINARY_DIR}/icons
  DEPENDS ${CMAKE_SOURCE_DIR}/forms/icons.txt ${CMAKE_SOURCE_DIR}/tools/make-icons.sh)
add_custom_target(icons DEPENDS ${icon_files})
set_source_files_properties(forms/orlo.rc PROPERTIES OBJECT_DEPENDS "${icon_files};${CMAKE_SOURCE_DIR}/forms/orlo.manifest")
function(add_resources name major minor patch build)
  add_library(${name} OBJECT forms/orlo.rc)
  add_dependencies(${name} icons)
  target_include_directories(${name} PRIVATE ${CMAKE_BINARY_DIR}/icons ${CMAKE_SOURCE_DIR}/forms)
  target_compile_definitions(${name} PRIVATE ORLO_VERSION_MAJOR=${major} ORLO_VERSION_MINOR=${minor}
    ORLO_VERSION_PATCH=${patch} ORLO_VERSION_BUILD=${build} ${ARGN})
endfunction()
add_resources(resources ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR} ${PROJECT_VERSION_PATCH}
  ${PROJECT_VERSION_TWEAK})
# The shell tests carry a fixed file version of their own whose version strings say something else.
add_resources(test_resources 1 0 0 18 ORLO_VERSION_STRINGS_SAY=9)

add_executable(orlo WIN32 orlo.cpp)
target_link_libraries(orlo PRIVATE shell resources)
# The sample picture beside the program, as it ships, so that a first run in build/ finds it.
configure_file(collection/orang-outang.jpg ${CMAKE_BINARY_DIR}/collection/orang-outang.jpg COPYONLY)

add_test_folder(imaging imaging)
add_test_folder(platform gui)
add_test_folder(settings settings)
add_test_folder(engine engine)
# The double-byte path tests once more under a Japanese system code page, from a locale compiled into build/.
if(TARGET engine_tests)
  add_test(NAME ja_locale COMMAND sh -c "mkdir -p locale && localedef -i ja_JP -f UTF-8 locale/ja_JP.UTF-8")
  add_test(NAME engine_dbcs COMMAND engine_tests --gtest_filter=DbcsPaths.*)
  set_tests_properties(ja_locale PROPERTIES FIXTURES_SETUP ja_locale)
  set_tests_properties(engine_dbcs PROPERTIES FIXTURES_REQUIRED ja_locale
    ENVIRONMENT "LOCPATH=${CMAKE_BINARY_DIR}/locale;LC_ALL=ja_JP.UTF-8")
endif()
add_test_folder(shell shell test_resources)
if(TARGET shell_tests)
  target_sources(shell_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/settings/RegistryTestSupport.cpp)
endif()
add_test_folder(e2e system)
if(TARGET e2e_tests)
  target_sources(e2e_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/settings/RegistryTestSupport.cpp)
  add_dependencies(e2e_tests orlo)
  target_compile_definitions(e2e_tests PRIVATE ORLO_EXE="$<TARGET_FILE:orlo>")
endif()
