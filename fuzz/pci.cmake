# PCI checks: configuration images and EEPROM contents against preset texts.
zorix7_add_fuzzer(fuzz_pci_checks ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_pci_checks.cpp zorix7pcicore)
