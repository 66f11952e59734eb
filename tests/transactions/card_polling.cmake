# Cards polled from a simulated reader by the sale and recharge screens.
stokara_add_test(NAME test_card_polling
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_card_polling.cpp ${CMAKE_CURRENT_LIST_DIR}/sale_test_data.h
  LIBS stokara_transactions DB GUI)
