#include "urlmonitor/UrlCandidate.h"

namespace {

// White space as the C locale's isspace knows it.
constexpr const char kWhiteSpace[] = " \t\r\n\v\f";

size_t FirstLineEnd(const std::string& text) {
    const size_t carriageReturn = text.find('\r');
    // A bare LF ends the line only in text that holds no CR at all.
    return carriageReturn != std::string::npos ? carriageReturn : text.find('\n');
}

}  // namespace

std::string CutUrlCandidate(const std::string& text) {
    const size_t start = text.find_first_not_of(kWhiteSpace);
    if (start == std::string::npos) {
        return {};
    }
    std::string candidate = text.substr(start);
    const size_t lineEnd = FirstLineEnd(candidate);
    if (lineEnd != std::string::npos) {
        candidate.erase(lineEnd);
    }
    candidate.erase(candidate.find_last_not_of(kWhiteSpace) + 1);
    const size_t space = candidate.find(' ');
    if (space != std::string::npos) {
        candidate.erase(space);
    }
    return candidate;
}
