#include "app/WinInetUrlParser.h"

#include <windows.h>

#include <wininet.h>

#include <new>
#include <vector>

#include "win/SystemLibrary.h"

namespace {

// ICU_DECODE cracks the canonical form of the URL, which can be longer than the text: a drive
// path gains the "file" scheme, a bare host a root "/". (Wine canonicalises with ICU_DECODE |
// ICU_NO_ENCODE, so escapes only shrink a component, and an escaped NUL ends the URL; its
// ICU_ESCAPE decodes nothing. It reads the text through a copy: no writable input is needed.)
constexpr size_t kCanonicalGrowth = 16;

// ICU_DECODE works only into caller buffers. Each one holds the whole URL, so no component
// of any length is refused for want of room.
struct ComponentBuffers {
    explicit ComponentBuffers(size_t urlLength)
        : size(static_cast<DWORD>(urlLength + kCanonicalGrowth)),
          scheme(size),
          host(size),
          user(size),
          password(size),
          path(size),
          extra(size) {}

    URL_COMPONENTSA Components() {
        URL_COMPONENTSA components{};
        components.dwStructSize = sizeof components;
        components.lpszScheme = scheme.data();
        components.dwSchemeLength = size;
        components.lpszHostName = host.data();
        components.dwHostNameLength = size;
        components.lpszUserName = user.data();
        components.dwUserNameLength = size;
        components.lpszPassword = password.data();
        components.dwPasswordLength = size;
        components.lpszUrlPath = path.data();
        components.dwUrlPathLength = size;
        components.lpszExtraInfo = extra.data();
        components.dwExtraInfoLength = size;
        return components;
    }

    DWORD size;
    std::vector<char> scheme, host, user, password, path, extra;
};

using CrackUrl = BOOL(WINAPI*)(LPCSTR url, DWORD length, DWORD flags, URL_COMPONENTSA* components);

}  // namespace

ParsedUrl WinInetUrlParser::Parse(const std::string& url) {
    const ParsedUrl failed{false, false};
    // Loaded at the first address to parse: start-up does without the library and its own.
    static const auto crackUrl = SystemFunction<CrackUrl>("wininet.dll", "InternetCrackUrlA");
    if (crackUrl == nullptr) {
        return failed;
    }
    if (url.empty()) {
        return failed;  // a zero length means "up to the NUL" to the cracker
    }
    if (url.size() > MAXDWORD - kCanonicalGrowth) {
        return failed;  // beyond what its lengths can count
    }
    try {
        ComponentBuffers buffers(url.size());
        URL_COMPONENTSA components = buffers.Components();
        if (!crackUrl(url.data(), static_cast<DWORD>(url.size()), ICU_DECODE, &components)) {
            return failed;
        }
        // The cracker accepts any "name:" prefix as an unknown scheme, and Wine takes an empty
        // name (text that starts with ":") for ftp.
        if (components.nScheme < INTERNET_SCHEME_FIRST || components.dwSchemeLength == 0) {
            return failed;
        }
        return ParsedUrl{true, components.nScheme == INTERNET_SCHEME_FTP};
    } catch (const std::bad_alloc&) {
        return failed;
    }
}
