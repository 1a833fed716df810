# yorimo-cli stats on the shipped sample gives the expected table, and refuses what is not a book.
execute_process(COMMAND ${CLI} stats ${SAMPLE} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT err STREQUAL "")
  message(FATAL_ERROR "stats failed: ${rc} ${err}")
endif()
file(READ ${EXPECTED} expected)
if(NOT out STREQUAL expected)
  message(FATAL_ERROR "stats of the sample differ from ${EXPECTED}:\n${out}")
endif()

file(WRITE ${WORK}/stats-not-a-book.yrm "hello")
execute_process(COMMAND ${CLI} stats ${WORK}/stats-not-a-book.yrm RESULT_VARIABLE rc OUTPUT_VARIABLE out
                ERROR_VARIABLE err)
if(NOT rc EQUAL 1 OR NOT out STREQUAL "" OR NOT err STREQUAL "${WORK}/stats-not-a-book.yrmはｙｏｒｉｍｏのデータではありません！\n")
  message(FATAL_ERROR "a refused book must give the message on stderr and exit 1: ${rc} [${out}] [${err}]")
endif()
