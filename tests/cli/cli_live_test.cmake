# yorimo-cli live end to end on the shipped sample: the command is in the tool's table, reads
# only, and keeps stdout empty on a fault.
file(MAKE_DIRECTORY ${WORK})
set(book ${WORK}/live-book.yrm)
configure_file(${SAMPLE} ${book} COPYONLY)

# Row 12 is toto 1207, seven matches still open: one supposed, six lines of three outcomes.
execute_process(COMMAND ${CLI} live ${book} 12 7=1 RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(REGEX MATCHALL "[^\n]*\n" lines "${out}")
list(LENGTH lines count)
if(NOT rc EQUAL 0 OR NOT err STREQUAL "" OR NOT out MATCHES "^now\t[0-9]+\t[0-9]+\t[0-9]+\t-\t-\t-\t[0-9]+\n8\t1\t"
   OR NOT count EQUAL 19)
  message(FATAL_ERROR "live of row 12: exit ${rc} [${err}]\n${out}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${book} ${SAMPLE} RESULT_VARIABLE same)
file(GLOB left ${WORK}/live-book.yrm.*)
if(NOT same EQUAL 0 OR left)
  message(FATAL_ERROR "live wrote beside the book: ${left}")
endif()

execute_process(COMMAND ${CLI} live ${book} 12 1=1 RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 1 OR NOT out STREQUAL "" OR NOT err STREQUAL "枠1は結果が入力済みです。\n")
  message(FATAL_ERROR "live on a decided slot: exit ${rc} [${out}] [${err}]")
endif()
execute_process(COMMAND ${CLI} live ${book} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 2 OR NOT out STREQUAL "" OR NOT err STREQUAL "usage: yorimo-cli live BOOK.yrm ROW [SLOT=MARK ...]\n")
  message(FATAL_ERROR "live without a row: exit ${rc} [${out}] [${err}]")
endif()
