# Cash/credit memo: layout rules, the memo of a stored bill, the PDF canvas.
stokara_add_test(NAME test_memo SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_memo.cpp
  LIBS stokara_transactions DB GUI)
