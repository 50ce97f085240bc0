#pragma once

#include "core/UrlParser.h"

// The WinINet URL cracker with ICU_DECODE.
class WinInetUrlParser : public UrlParser {
public:
    ParsedUrl Parse(const std::string& url) override;
};
