# One benchmark on a tiny shop, as a test: it fails when the benchmark exits
# non-zero or prints no "BENCH <name> <value> <unit>" line.
#   cmake -DBENCH=<executable> -DARGS=<a;b> -P smoke.cmake
# A PostgreSQL server named by STOKARA_TEST_PG is handed on as STOKARA_BENCH_PG,
# so the benchmarks that also measure PostgreSQL run their server part too.
if(DEFINED ENV{STOKARA_TEST_PG} AND NOT "$ENV{STOKARA_TEST_PG}" STREQUAL "")
  set(ENV{STOKARA_BENCH_PG} "$ENV{STOKARA_TEST_PG}")
endif()
string(REPLACE "," ";" ARGS "${ARGS}")
execute_process(COMMAND "${BENCH}" ${ARGS}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${BENCH} exited with ${status}:\n${err}")
endif()
if(NOT out MATCHES "(^|\n)BENCH [^ \n]+ [^ \n]+ [^ \n]+")
  message(FATAL_ERROR "${BENCH} printed no BENCH line:\n${err}")
endif()
