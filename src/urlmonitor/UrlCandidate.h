#pragma once

#include <string>

// The first word of the first line of clipboard text: the only part offered to the URL parser.
std::string CutUrlCandidate(const std::string& text);
