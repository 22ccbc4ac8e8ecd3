#include "TestSupport.h"
#include "core/Error.h"
#include "core/Settings.h"
#include "core/comments/CommentRequest.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace pluvane;
using namespace pluvane::test;

TEST(CommentPercentEncode, KeepsOnlyUnreservedCharacters) {
    const struct {
        std::string text;
        const char* expected;
    } cases[] = {
        {"", ""},
        {"AZaz09-._~", "AZaz09-._~"},
        {"Windows 11", "Windows%2011"},
        {"a&b=c#d?e/f+g%h", "a%26b%3Dc%23d%3Fe%2Ff%2Bg%25h"},
        {"line 1\r\nline 2\n", "line%201%0D%0Aline%202%0A"},
        {"\"quoted\" 'single'", "%22quoted%22%20%27single%27"},
        {"!*()[]@$,;:", "%21%2A%28%29%5B%5D%40%24%2C%3B%3A"},
        {"Dupr\xC3\xA9", "Dupr%C3%A9"},       // é
        {"\xE2\x82\xAC 5", "%E2%82%AC%205"},  // €
        {"\xF0\x9F\x8C\xA7", "%F0%9F%8C%A7"}, // a four-byte character
        {std::string("a\0b", 3), "a%00b"},
        {"\x7F\x80\xFF", "%7F%80%FF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PercentEncode(c.text), c.expected) << '"' << c.text << '"';
}

TEST(CommentUrl, PutsTheFiveFieldsInTheirOrder) {
    const std::string endpoint = "https://comments.example/support/bugreport.asp";
    EXPECT_EQ(BuildCommentUrl(endpoint, {}), endpoint + "?os=&bn=&dsc=&con=&com=");
    EXPECT_EQ(BuildCommentUrl(endpoint, {"Debian 12", "Idea", "a=b&c", "me@example.org", "50% #1"}),
              endpoint +
                  "?os=Debian%2012&bn=Idea&dsc=a%3Db%26c&con=me%40example.org&com=50%25%20%231");
}

TEST(CommentUrl, RefusesAnAddressLongerThanServersAccept) {
    const std::string endpoint = "http://127.0.0.1/bugreport.asp";
    const std::size_t fixed = endpoint.size() + std::string("?os=&bn=&dsc=&con=&com=").size();
    CommentFields fields;
    fields.comments.assign(kMaxCommentUrlBytes - fixed, 'x');
    EXPECT_EQ(BuildCommentUrl(endpoint, fields).size(), kMaxCommentUrlBytes);

    fields.comments += 'x';
    const std::string message = ErrorMessageOf([&] { BuildCommentUrl(endpoint, fields); });
    EXPECT_NE(message.find("8001 characters"), std::string::npos) << message;
    EXPECT_NE(message.find("at most 8000"), std::string::npos) << message;

    // Encoding counts: 2700 blanks are 8100 characters on the address.
    CommentFields blanks;
    blanks.description.assign(2700, ' ');
    EXPECT_THROW(BuildCommentUrl(endpoint, blanks), Error);
}

TEST(CommentSettings, EndpointIsAnHttpAddressOrNothing) {
    const struct {
        std::optional<std::string> setting;
        std::optional<std::string> expected;
    } cases[] = {
        {std::nullopt, std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"http://", std::nullopt},
        {"ftp://host/bugreport.asp", std::nullopt},
        {"host/bugreport.asp", std::nullopt},
        {"http://host/bugreport.asp", "http://host/bugreport.asp"},
        {"  HTTPS://Host:8443/x/bugreport.asp\t", "HTTPS://Host:8443/x/bugreport.asp"},
    };
    for (const auto& c : cases) {
        Settings settings;
        if (c.setting)
            settings.setValue("CommentEndpoint", *c.setting);
        EXPECT_EQ(ReadCommentEndpoint(settings), c.expected) << c.setting.value_or("<none>");
    }
}

TEST(CommentSettings, TimeoutIsAPositiveNumberOfSecondsElse500) {
    const struct {
        std::optional<std::string> setting;
        double expected;
    } cases[] = {
        {std::nullopt, 500}, {"", 500},    {"0", 500},   {"-3", 500},  {"abc", 500},   {"10s", 500},
        {"inf", 500},        {"nan", 500}, {"2.5", 2.5}, {" 30 ", 30}, {"0.25", 0.25},
    };
    for (const auto& c : cases) {
        Settings settings;
        if (c.setting)
            settings.setValue("CommentTimeoutSeconds", *c.setting);
        EXPECT_DOUBLE_EQ(ReadCommentTimeoutSeconds(settings), c.expected)
            << c.setting.value_or("<none>");
    }
}

TEST(CommentSettings, ReadFromTheSettingsFile) {
    TempFolder folder;
    const std::string path =
        WriteFile(folder, "pluvane.conf",
                  "# comments\nCommentEndpoint=http://127.0.0.1:8080/bugreport.asp\r\n"
                  "CommentTimeoutSeconds=1.5\n");
    const Settings settings = Settings::load(path);
    EXPECT_EQ(ReadCommentEndpoint(settings), "http://127.0.0.1:8080/bugreport.asp");
    EXPECT_DOUBLE_EQ(ReadCommentTimeoutSeconds(settings), 1.5);
}
