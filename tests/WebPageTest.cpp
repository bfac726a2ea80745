// menu.htm, the menu as a web page: links, colours, escaping, and what the page leaves out.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "check/CommandLine.h"
#include "check/WebPage.h"
#include "tests/CheckMedium.h"
#include "tests/PictureFiles.h"
#include "tests/fakes/FakeMedium.h"

namespace {

namespace pf = picturefiles;

TEST(WebPage, PathsBecomeRelativeLinksWithEverySegmentEncoded) {
    EXPECT_EQ(RelativeUrl("docs\\Price list 2026.pdf"), "docs/Price%20list%202026.pdf");
    EXPECT_EQ(RelativeUrl("a#b\\100%\\what?.txt"), "a%23b/100%25/what%3F.txt");
    EXPECT_EQ(RelativeUrl("docs\\\xC3\x9C" "bersicht.pdf"), "docs/%C3%9Cbersicht.pdf");  // UTF-8, byte by byte
    EXPECT_EQ(RelativeUrl("content\\..\\x.htm"), "content/../x.htm");
    EXPECT_EQ(RelativeUrl("c:evil"), "c%3Aevil");  // never read as a scheme
    EXPECT_EQ(RelativeUrl("a&b<c>\"d'"), "a%26b%3Cc%3E%22d%27");
    EXPECT_EQ(RelativeUrl(""), "./");
}

TEST(WebPage, WebAddressesAsTheProgramOpensThem) {
    EXPECT_EQ(WebUrl("www.example.com/a?b=1&c=2"), "http://www.example.com/a?b=1&c=2");
    EXPECT_EQ(WebUrl("http://example.com/x y\"z"), "http://example.com/x%20y%22z");
}

TEST(WebPage, ColoursAreConvertedFromWindowsValues) {
    EXPECT_EQ(CssColor(16435132), "#BCC7FA");  // red 188, green 199, blue 250
    EXPECT_EQ(CssColor(255), "#FF0000");
    EXPECT_EQ(CssColor(0xFF0000), "#0000FF");
    // System colours as Windows' default scheme paints them: the window's white ground, the
    // buttons' light grey, the highlight's blue.
    EXPECT_EQ(CssColor(static_cast<std::int32_t>(0x80000005)), "#FFFFFF");
    EXPECT_EQ(CssColor(static_cast<std::int32_t>(0x8000000F)), "#F0F0F0");
    EXPECT_EQ(CssColor(static_cast<std::int32_t>(0x8000000D)), "#0078D7");
    EXPECT_EQ(CssColor(static_cast<std::int32_t>(0x80000063)), "#000000");  // no such index: GetSysColor's 0
    // Other values paint their lower 24 bits, as in the window.
    EXPECT_EQ(CssColor(-1), "#FFFFFF");
    EXPECT_EQ(CssColor(0x1000000), "#000000");
}

TEST(WebPage, TextIsEscaped) {
    EXPECT_EQ(HtmlEscape("<b>Tom & \"Jerry's\"</b>"), "&lt;b&gt;Tom &amp; &quot;Jerry&#39;s&quot;&lt;/b&gt;");
    EXPECT_EQ(HtmlEscape("a\x01" "b\xFF"), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
}

TEST(WebPage, OnlyOwnPagesAreReplaced) {
    EXPECT_TRUE(MayReplaceMenuPage(std::nullopt));
    EXPECT_TRUE(MayReplaceMenuPage(std::string("<!DOCTYPE html>\n") + kWebGenerator + " 2.1.1 -->"));
    EXPECT_FALSE(MayReplaceMenuPage(std::string("<html><body>The author's own menu</body></html>")));
    EXPECT_FALSE(MayReplaceMenuPage(std::string()));
}

// Every element that is opened is closed, in order (void elements aside): the page's structure is
// what a browser builds from it, not something it has to repair.
::testing::AssertionResult Balanced(const std::string& page) {
    static const std::regex tag("<(/?)([a-zA-Z][a-zA-Z0-9]*)[^>]*>");
    const std::string body = std::regex_replace(page, std::regex("<!--[^]*?-->|<!DOCTYPE html>"), "");
    std::vector<std::string> open;
    for (auto it = std::sregex_iterator(body.begin(), body.end(), tag); it != std::sregex_iterator(); ++it) {
        const std::string name = (*it)[2];
        if (name == "meta" || name == "img" || name == "br" || name == "link") continue;
        if ((*it)[1].length() == 0) {
            open.push_back(name);
        } else if (open.empty() || open.back() != name) {
            return ::testing::AssertionFailure() << "</" << name << "> closes <" << (open.empty() ? "" : open.back()) << ">";
        } else {
            open.pop_back();
        }
    }
    if (!open.empty()) return ::testing::AssertionFailure() << "<" << open.back() << "> is never closed";
    return ::testing::AssertionSuccess();
}

struct WebMenu : ::testing::Test {
    FakeFileSystem fs;
    const std::string root = "C:\\Disc";
    void Put(const std::string& path, const std::string& bytes) { fs.AddFile(root + "\\" + path, bytes); }
    std::string Page(const std::vector<std::string>& entries, const std::string& settings =
                                                                  "TITLE:Tom & Jerry <2026>\r\nBTCOLOR:255\r\n"
                                                                  "BGCOLOR:16711680\r\nHIDESETUP:1\r\n") {
        std::string menu = "h1\r\nh2\r\n" + settings + "h7\r\nh8\r\n";
        for (const auto& e : entries) menu += e + "\r\n";
        Put("content\\config.ini", menu);
        FakeMedium medium(fs, root);
        return MenuPage(CheckMedium(medium));
    }
    static std::size_t Count(const std::string& page, const std::string& what) {
        std::size_t n = 0;
        for (auto at = page.find(what); at != std::string::npos; at = page.find(what, at + 1)) ++n;
        return n;
    }
};

TEST_F(WebMenu, ShowsTheMenuAsTheWindowDoes) {
    Put("content\\app.jpg", pf::Jpeg(624, 213));
    Put("content\\Guide.jpg", pf::Png(137, 33));
    Put("docs\\Guide #1.pdf", "%PDF");
    const std::string page = Page({"Guide,Read <b>me</b>,docs\\guide #1.pdf,print", "Web,Our site,www.example.com,open",
                                   "Files,Everything,docs,explore", "", "Later,Never shown,docs,open"});
    EXPECT_EQ(page.rfind("<!DOCTYPE html>\n" + std::string(kWebGenerator), 0), 0u);
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(page.find("<title>Tom &amp; Jerry &lt;2026&gt;</title>"), std::string::npos);
    EXPECT_NE(page.find("<h1 dir=\"auto\">Tom &amp; Jerry &lt;2026&gt;</h1>"), std::string::npos);
    EXPECT_NE(page.find("<img class=\"banner\" src=\"content/app.jpg\""), std::string::npos);
    // In menu order, each a link: the file in the medium's spelling, the web address, the folder.
    const auto guide = page.find("href=\"docs/Guide%20%231.pdf\"");
    const auto web = page.find("href=\"http://www.example.com\"");
    const auto files = page.find("href=\"docs/\"");
    ASSERT_NE(guide, std::string::npos);
    EXPECT_LT(guide, web);
    EXPECT_LT(web, files);
    EXPECT_NE(page.find("<img src=\"content/Guide.jpg\" alt=\"Guide\""), std::string::npos);
    EXPECT_NE(page.find("Read &lt;b&gt;me&lt;/b&gt;"), std::string::npos);
    EXPECT_EQ(page.find("Never shown"), std::string::npos);  // behind the gap: the window never shows it
    // Colours from the menu file: buttons red, background blue.
    EXPECT_NE(page.find("background: #FF0000"), std::string::npos);
    EXPECT_NE(page.find("body { margin: 0; background: #0000FF"), std::string::npos);
    // No script, nothing from outside the medium but the menu's own web address.
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_EQ(Count(page, "http"), 1u);
    EXPECT_TRUE(Balanced(page));
}

TEST_F(WebMenu, EntriesThatDoNotWorkHaveNoLinkAndSayWhy) {
    const std::string page = Page({"Missing,Gone,docs\\gone.pdf,open", "Mine,Author's,C:\\Users\\me\\x.pdf,open",
                                   "Short,Only a label", "Shop,Shop, https://shop.example,open"});
    EXPECT_EQ(Count(page, "<a "), 0u);
    EXPECT_EQ(Count(page, "Does not open:"), 4u);
    EXPECT_TRUE(Balanced(page));
    EXPECT_NE(page.find("<span class=\"button\" dir=\"auto\">Missing</span>"), std::string::npos);
}

TEST_F(WebMenu, DefaultColoursWhenTheMenuSetsNone) {
    const std::string page = Page({"A,a,.,explore"}, "TITLE:T\r\n\r\n\r\nHIDESETUP:0\r\n");
    EXPECT_NE(page.find("body { margin: 0; background: #FFFFFF"), std::string::npos);  // the window's system colour
    EXPECT_NE(page.find("background: #C0C0FF"), std::string::npos);  // the buttons' design colour
    EXPECT_NE(page.find("href=\"./\""), std::string::npos);          // "." is the medium's root
}

// --web on a real folder.
struct WebCommand : checktest::FolderTest {
    WebCommand() : FolderTest("orvelund-web-test-") {}
    void SetUp() override {
        FolderTest::SetUp();
        Write("content/config.ini", "h1\r\nh2\r\nTITLE:Web\r\nBTCOLOR:0\r\nBGCOLOR:0\r\nHIDESETUP:1\r\nh7\r\nh8\r\n"
                                    "A,a,missing.pdf,open\r\n");
    }
    int Web(std::string* err = nullptr, const FileReplacer& replace = ReplaceFileWhole) {
        std::string out, e;
        const int status = RunCheck({"--web", folder.string()},
                                    [&](bool toError, const std::string& t) { (toError ? e : out) += t; }, replace);
        if (err) *err = e;
        return status;
    }
};

TEST_F(WebCommand, WritesThePageAndKeepsTheChecksExitStatus) {
    EXPECT_EQ(Web(), 1);  // the check's errors
    EXPECT_NE(Read("menu.htm").find("<h1 dir=\"auto\">Web</h1>"), std::string::npos);
    Write("content/config.ini", Read("content/config.ini") + "B,b,content\\config.ini,open\r\n");
    EXPECT_EQ(Web(), 1);
    EXPECT_NE(Read("menu.htm").find("href=\"content/config.ini\""), std::string::npos);  // its own page is replaced
    for (const auto& item : std::filesystem::directory_iterator(folder))
        EXPECT_EQ(item.path().filename().string().find(".tmp"), std::string::npos) << item.path();
}

TEST_F(WebCommand, NeverWritesOverAPageItDidNotWrite) {
    Write("menu.htm", "<html>my own menu</html>");
    std::string err;
    EXPECT_EQ(Web(&err), 2);
    EXPECT_NE(err.find("was not written by orvelund-check"), std::string::npos);
    EXPECT_EQ(Read("menu.htm"), "<html>my own menu</html>");
}

TEST_F(WebCommand, AFailedWriteIsReported) {
    std::string err;
    EXPECT_EQ(Web(&err, [](const std::string&, const std::string&) { return false; }), 2);
    EXPECT_NE(err.find("could not be written"), std::string::npos);
}

}  // namespace
