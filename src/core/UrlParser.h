#pragma once

#include <string>

struct ParsedUrl {
    bool parsed;
    bool isFtp;
};

// The platform's URL cracker. It must fail on empty text and on text without a known scheme,
// and report FTP for the ftp scheme with or without user name, password, port and path.
class UrlParser {
public:
    virtual ~UrlParser() = default;
    virtual ParsedUrl Parse(const std::string& url) = 0;
};
