// Page titles fetched through WinINet from the test's own server on
// 127.0.0.1, and the names proposed for URLs.
#include "guitest.h"
#include "httpserver.h"

#include <wininet.h>

#include "web/pagetitle.h"

namespace {

const char kEucJpA[] = "\xA4\xA2\xA4\xA4";   // "あい" in EUC-JP

class PageTitleTest : public gt::MainWindowTest {
protected:
    void SetUp() override
    {
        gt::MainWindowTest::SetUp();
        ASSERT_TRUE(server_.ok());
    }
    void TearDown() override
    {
        g_fetchTimeoutMs = 10000;
        gt::MainWindowTest::TearDown();
    }
    // The cleaned title of a page served with reply; "<none>" without one.
    std::string Fetch(const gt::HttpReply& reply, size_t size = 260)
    {
        server_.Serve("/page", reply);
        std::vector<char> out(size, 'x');
        if (!FetchPageTitle(server_.Url("/page").c_str(), out.data(), size, TRUE))
            return out[0] ? "<not empty>" : "<none>";
        return out.data();
    }
    std::string Host() { return "127.0.0.1:" + std::to_string(server_.port()); }

    gt::HttpServer server_;
};

TEST_F(PageTitleTest, TitlesInEveryCharsetKeepEveryCharacter)
{
    EXPECT_EQ(u8"日本語のページ",
              Fetch(gt::Page("<html><title>" + gt::Sjis(u8"日本語のページ") + "</title>",
                             "text/html; charset=Shift_JIS")));
    EXPECT_EQ(u8"あい page",
              Fetch(gt::Page("<meta http-equiv=\"Content-Type\" content=\"text/html; "
                             "charset=euc-jp\"><title>" +
                             std::string(kEucJpA) + " page</title>")));
    const std::string utf8 = u8"日本語 Yahoo! タ 😀 café 한국어 〜−";
    EXPECT_EQ(utf8, Fetch(gt::Page("<meta charset=\"utf-8\"><title>" + utf8 + "</title>")));
    EXPECT_EQ(utf8, Fetch(gt::Page("<title>" + utf8 + "</title>", "text/html; charset=UTF-8")));
    EXPECT_EQ(u8"A & B あ😀é",
              Fetch(gt::Page("<title>A &amp; B &#12354;&#x1F600;&#233;</title>")));
    // Cut to the buffer on a character: 😀 takes 4 bytes.
    EXPECT_EQ("ab", Fetch(gt::Page(u8"<meta charset=utf-8><title>ab😀</title>"), 6));
    ASSERT_FALSE(server_.Requests().empty());
    EXPECT_NE(std::string::npos, server_.Requests()[0].find("User-Agent: ZORIVEN"));
}

TEST_F(PageTitleTest, WhereTheTitleElementIs)
{
    EXPECT_EQ("Mixed", Fetch(gt::Page("<HEAD><TiTlE lang=\"ja\">Mixed</tItLe>")));
    EXPECT_EQ("A  B C", Fetch(gt::Page("<title>A / B: C?\t</title>")));
    EXPECT_EQ("<none>", Fetch(gt::Page("<script>'</title>'</script><title>Late</title>")));
    EXPECT_EQ("<none>", Fetch(gt::Page("")));
    EXPECT_EQ("<none>", Fetch(gt::Page("<title>no end")));
    // The title must end within the first 4,095 bytes.
    std::string tail = "<title>Edge</title>";
    EXPECT_EQ("Edge", Fetch(gt::Page(std::string(4095 - tail.size(), ' ') + tail + "more")));
    EXPECT_EQ("<none>", Fetch(gt::Page(std::string(4096 - tail.size(), ' ') + tail)));
    EXPECT_EQ("Long t", Fetch(gt::Page("<title>Long title</title>"), 7));
    // A connection dropped in the middle of the body keeps what came.
    gt::HttpReply cut = gt::Page("<title>Early</title>" + std::string(3000, '.'));
    cut.closeAfter = cut.bytes.size() - 2000;
    EXPECT_EQ("Early", Fetch(cut));
}

TEST_F(PageTitleTest, NamesForUrlsFallBackToTheHost)
{
    ASSERT_TRUE(Start(folder_));
    server_.Serve("/ok", gt::Page("<title>Served</title>"));
    server_.Serve("/missing", gt::Page("<title>404 Not Found</title>", "text/html", 404));
    gt::HttpReply dead;
    dead.hang = true;
    server_.Serve("/dead", dead);
    server_.Serve("/emoji", gt::Page(u8"<meta charset=utf-8><title>😀 Smile: é</title>"));
    char name[128];
    EXPECT_STREQ(Host().c_str(), NameForUrl(server_.Url("/ok").c_str(), name, sizeof name));
    g_app->options[AutoTitle] = 1;
    EXPECT_STREQ("Served", NameForUrl(server_.Url("/ok").c_str(), name, sizeof name));
    EXPECT_STREQ(u8"😀 Smile é", NameForUrl(server_.Url("/emoji").c_str(), name, sizeof name));
    EXPECT_STREQ(Host().c_str(), NameForUrl(server_.Url("/missing").c_str(), name, sizeof name));
    EXPECT_TRUE(boxes_.seen().empty());
    g_fetchTimeoutMs = 1000;   // a server that never answers gives the window back
    boxes_.Press(IDOK);
    EXPECT_STREQ(Host().c_str(), NameForUrl(server_.Url("/dead").c_str(), name, sizeof name));
    ASSERT_EQ(1u, boxes_.seen().size());
    EXPECT_NE("", boxes_.seen()[0].text);   // WinINet's own text, not "Unknown Error"
    EXPECT_EQ(std::string::npos, boxes_.seen()[0].text.find("Unknown"));
    EXPECT_EQ(nullptr, NameForUrl("no scheme", name, sizeof name));   // nothing fetched
}

TEST_F(PageTitleTest, UnreachableServerIsReportedOnlyWhenAsked)
{
    std::string url;
    {
        gt::HttpServer gone;
        url = gone.Url("/");
    }
    char title[64];
    EXPECT_FALSE(FetchPageTitle(url.c_str(), title, sizeof title, FALSE));
    EXPECT_TRUE(boxes_.seen().empty());
    boxes_.Press(IDOK);
    EXPECT_FALSE(FetchPageTitle(url.c_str(), title, sizeof title, TRUE));
    ASSERT_EQ(1u, boxes_.seen().size());
    EXPECT_FALSE(boxes_.seen()[0].text.empty());
    EXPECT_EQ(std::string::npos, boxes_.seen()[0].text.find("Unknown Error"));
}

}  // namespace
