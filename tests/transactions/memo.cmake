# Cash/credit memo: the memo of a stored bill, its PDF when there is no printer,
# and the party a memo and an SMS receipt are for.
stokara_add_test(NAME test_memo SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_memo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sale_test_data.h LIBS stokara_transactions stokara_messaging DB GUI)
