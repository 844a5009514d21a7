#pragma once
// A lasting write to a card (EEPROM, identification record) that a check would have made,
// had it been allowed to: shown in its result line and listed in the reports.
#include <string>

struct CardWrite {
  std::string field;   // the field's name as the check texts give it
  std::string card;    // the value on the card, hexadecimal as shown
  std::string preset;  // the value that would be written
};
