# Included from shared/CMakeLists.txt: the till peripherals' serial wrapper and printer object.

# Serial-port wrapper of the printer, display, scale and scanner (no Qt).
add_library(tillora_cominterface STATIC cominterface.cpp)
target_include_directories(tillora_cominterface PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(tillora_cominterface PUBLIC tillora_platform)

# Printer, cash drawer, pole display and electronic journal (TPrintClass); reads the receipt
# header and the last day-close number through the fiscal-memory access class.
add_library(tillora_print STATIC
  print_charset.cpp
  printclass_printer.cpp
  printclass_display.cpp
  printclass_labels.cpp
  printclass_journal.cpp)
target_include_directories(tillora_print PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(tillora_print
  PUBLIC tillora_cominterface tillora_codepage tillora_fmproc Qt6::Core
  PRIVATE tillora_ui_services ZLIB::ZLIB)
