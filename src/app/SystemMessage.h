#pragma once

#include <string>

// The system's text for an error code, without its line break; the number when it has none.
std::string SystemMessage(unsigned long error);
