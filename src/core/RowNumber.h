#pragma once

#include <string>

// A row name read back from a table: its leading decimal digits with an optional sign, 0 when
// there are none (the C runtime's atoi, without its overflow behaviour).
int RowNumberFromName(const std::string& name);

// True when the name is exactly what "%i" makes of its number, so deleting by number deletes
// this very subkey.
bool IsCanonicalRowName(const std::string& name);

std::string RowName(int number);
