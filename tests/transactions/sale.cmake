# Item sale: the controller and its store on both engines, the screen offscreen.
stokara_add_test(NAME test_sale_controller SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_sale_controller.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sale_test_data.h LIBS stokara_transactions DB)
stokara_add_test(NAME test_sale_screen SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_sale_screen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sale_test_data.h LIBS stokara_transactions DB GUI)
