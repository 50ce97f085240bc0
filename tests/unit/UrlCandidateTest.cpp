#include "urlmonitor/UrlCandidate.h"

#include <gtest/gtest.h>

namespace {

struct CutCase {
    const char* text;
    const char* candidate;
};

void ExpectCuts(const std::vector<CutCase>& cases) {
    for (const CutCase& c : cases) {
        EXPECT_EQ(CutUrlCandidate(c.text), c.candidate)
            << "text: " << testing::PrintToString(c.text);
    }
}

}  // namespace

TEST(UrlCandidate, DropsWhiteSpaceAroundTheFirstWord) {
    ExpectCuts({
        {"ftp://host/a", "ftp://host/a"},
        {" \t\r\n\v\fftp://host/a", "ftp://host/a"},
        {"ftp://host/a \t\v\f", "ftp://host/a"},
        {"  ftp://host/a  ", "ftp://host/a"},
        {"", ""},
        {" \t\r\n\v\f", ""},
    });
}

TEST(UrlCandidate, KeepsOnlyTheFirstLine) {
    ExpectCuts({
        {" ftp://host/a \r\nsecond line\r\n", "ftp://host/a"},
        {"ftp://host/a\rsecond", "ftp://host/a"},
        {"ftp://host/a\nsecond", "ftp://host/a"},
        {"\r\n\r\nftp://host/a\r\n", "ftp://host/a"},
    });
}

TEST(UrlCandidate, BareLineFeedIsNoLineEndWhenTheTextHoldsACarriageReturn) {
    ExpectCuts({
        {"ftp://host/a\nb\r\n", "ftp://host/a\nb"},
        {"ftp://host/a\n\r\n", "ftp://host/a"},
        {"ftp://host/a \nb\r\n", "ftp://host/a"},
    });
}

TEST(UrlCandidate, EndsAtTheFirstSpaceButNotAtATab) {
    ExpectCuts({
        {"ftp://host/a and more words", "ftp://host/a"},
        {"ftp://host/a\tb", "ftp://host/a\tb"},
        {"ftp://host/a\tb c", "ftp://host/a\tb"},
        {"ftp://host/a\vb", "ftp://host/a\vb"},
    });
}
