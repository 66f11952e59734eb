# stokara_add_test(NAME <name> SOURCES <files...> LIBS <targets...> [DB] [GUI])
#
# Builds one Qt Test executable. A DB test runs twice under CTest: once on a
# fresh SQLite file and once on a scratch PostgreSQL database (label
# "postgres"; it skips itself when STOKARA_TEST_PG names no server). GUI tests
# run on the offscreen platform.
function(stokara_add_test)
  cmake_parse_arguments(T "DB;GUI" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE Qt6::Test stokara_test_support ${T_LIBS})
  set(label unit)
  if(T_GUI)
    set(label gui)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES
    LABELS "${label}"
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;STOKARA_TEST_ENGINE=sqlite"
    TIMEOUT 300)
  if(T_DB)
    add_test(NAME ${T_NAME}_pg COMMAND ${T_NAME})
    set_tests_properties(${T_NAME}_pg PROPERTIES
      LABELS "${label};postgres"
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;STOKARA_TEST_ENGINE=postgres"
      TIMEOUT 300)
  endif()
endfunction()
