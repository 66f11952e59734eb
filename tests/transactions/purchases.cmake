# Purchases, the day book and card recharges.
foreach(name test_purchase test_day_book test_card_recharge)
  stokara_add_test(NAME ${name} SOURCES ${CMAKE_CURRENT_LIST_DIR}/${name}.cpp
                   LIBS stokara_transactions DB GUI)
endforeach()
