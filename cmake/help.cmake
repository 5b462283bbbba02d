# The help file orlo.hlp, written beside orlo.exe from help/orlo.help by a Python writer (standard library
# only). The writer's tests run in the native suite, the viewer tests under Wine.
find_program(PYTHON3 python3 REQUIRED)
set(help_writer ${CMAKE_SOURCE_DIR}/tools/winhelp/hlpwrite.py)

if(WIN32)
  set(help_file ${CMAKE_BINARY_DIR}/orlo.hlp)
  file(GLOB help_writer_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/winhelp/*.py)
  add_custom_command(OUTPUT ${help_file}
    COMMAND ${PYTHON3} -B ${help_writer} ${CMAKE_SOURCE_DIR}/help/orlo.help ${help_file}
    DEPENDS ${CMAKE_SOURCE_DIR}/help/orlo.help ${help_writer_sources}
    COMMENT "Writing orlo.hlp")
  add_custom_target(help_file ALL DEPENDS ${help_file})

  add_executable(winhelp_call tests/help/winhelp_call.cpp)
  add_test(NAME help_viewer COMMAND ${PYTHON3} -B ${CMAKE_SOURCE_DIR}/tests/help/test_viewer.py)
  set_tests_properties(help_viewer PROPERTIES
    ENVIRONMENT "HELP_FILE=${help_file};WINHELP_CALL=$<TARGET_FILE:winhelp_call>")
else()
  add_test(NAME help_writer COMMAND ${PYTHON3} -B ${CMAKE_SOURCE_DIR}/tests/help/test_hlpwrite.py)
endif()
