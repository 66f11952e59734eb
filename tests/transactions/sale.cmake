# Item sale: line rules, store and balance on both engines, the screen offscreen.
stokara_add_test(NAME test_sale_rules SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_sale_rules.cpp
  LIBS stokara_transactions)
stokara_add_test(NAME test_sale_store SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_sale_store.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sale_test_data.h LIBS stokara_transactions DB)
stokara_add_test(NAME test_sale_screen SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_sale_screen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sale_test_data.h LIBS stokara_transactions DB GUI)
