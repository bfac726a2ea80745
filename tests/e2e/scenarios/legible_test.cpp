// A menu in another script on an English PC: every text the four windows show has its glyphs in the
// font its control draws with or in a face that font links to, so Windows draws none as the
// missing-glyph box. The glyphs are asked of the fonts inside the program (CheckGlyphs); the windows
// are saved to the artifacts as legible-<language>-*.bmp for a person to look at (Wine 8 itself
// shapes Thai with the selected face alone outside edit controls: see the README).
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "Layout.h"
#include "Orvelund.h"

namespace {

using namespace e2e;
using namespace orv;

struct Script {
    const char* name;
    const char* title;
    const char* button;  // a button without a picture shows its name
    const char* label;
    const char* file;
};

void PrintTo(const Script& s, std::ostream* os) { *os << s.name; }

const Script kScripts[] = {
    {"Japanese", "会社案内メニュー", "説明書", "はじめにお読みください", "資料\\説明書.pdf"},
    {"Chinese", "产品光盘菜单", "说明书", "请先阅读说明书", "资料\\说明书.pdf"},
    {"Korean", "제품 안내 메뉴", "설명서", "먼저 읽어 주세요", "자료\\설명서.pdf"},
    {"Thai", "เมนูแผ่นซีดี", "คู่มือ", "โปรดอ่านก่อนใช้งาน", "เอกสาร\\คู่มือ.pdf"},
    {"Arabic", "قائمة القرص", "دليل", "يرجى القراءة أولا", "مستندات\\دليل.pdf"},
};

::testing::AssertionResult Drawn(const GlyphCheck& g, const std::string& what, const std::string& text) {
    if (!g.ok) return ::testing::AssertionFailure() << what << ": its glyphs could not be read";
    if (g.checked == 0) return ::testing::AssertionFailure() << what << ": no text to check (\"" << text << "\")";
    std::printf("%s \"%s\": %s%s%s\n", what.c_str(), text.c_str(), g.face.c_str(), g.linked ? ", linked to " : "",
                g.linkedFaces.c_str());
    if (g.missing == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << what << " \"" << text << "\" in " << g.face << ": " << g.missing << " of "
                                         << g.checked << " characters have no glyph in it or a face it links to ("
                                         << g.missingChars << ")";
}

::testing::AssertionResult Legible(HWND control, const std::string& text, const std::string& what) {
    if (!control) return ::testing::AssertionFailure() << what << " is not there";
    return Drawn(CheckGlyphs(control, text), what, text);
}

::testing::AssertionResult LegibleCaption(HWND window, const std::string& what) {
    if (!window) return ::testing::AssertionFailure() << what << " did not open";
    return Drawn(CheckCaptionGlyphs(window), what + "'s caption", TextOf(window));
}

// The rows of a list box, read from outside its process.
std::vector<std::string> ListBoxRows(HWND list) {
    std::vector<std::string> rows;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0) continue;
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(length));
        rows.push_back(Narrow(text));
    }
    return rows;
}

struct Legibility : OrvelundTest, ::testing::WithParamInterface<Script> {
    std::string exe;
    void SetUp() override {
        OrvelundTest::SetUp();
        exe = CopyExe();
        const std::string content = MakeContentFolder(Folder());
        WriteFileBytes(JoinPath(content, "app.jpg"), SolidBitmap(624, 213, RGB(240, 240, 240)));
        const Script& s = GetParam();
        // UTF-8 with its mark: a menu that reads the same on every PC.
        WriteFileBytes(JoinPath(content, "config.ini"),
                       "\xEF\xBB\xBF" + MenuFile({std::string(s.button) + "," + s.label + "," + s.file + ",open",
                                                  "Web," + std::string(s.label) + " 2,https://example.com,open"},
                                                 std::string("TITLE:") + s.title));
    }
    void Save(HWND window, const std::string& which) {
        SaveScreenshot(JoinPath(ArtifactsFolder(), std::string("legible-") + GetParam().name + "-" + which + ".bmp"),
                       window);
    }
};

TEST_P(Legibility, TheMenuHasAGlyphForEveryCharacter) {
    const Script& s = GetParam();
    Process p = Launch(exe);
    HWND main = WaitForWindow(s.title, kWait, p.Id());
    ASSERT_NE(main, nullptr);
    Sleep(300);
    EXPECT_TRUE(LegibleCaption(main, "the menu"));
    HWND button = FindControl(main, BtnMenu(0));
    ASSERT_EQ(TextOf(button), s.button);  // no picture: the button shows its name
    EXPECT_TRUE(Legible(button, s.button, "the menu button"));
    EXPECT_TRUE(Legible(FindControl(main, LblMenu(0)), s.label, "the menu label"));
    EXPECT_TRUE(Legible(FindControl(main, LblMenu(1)), std::string(s.label) + " 2", "the second label"));
    // Arial has none of these scripts: every character comes from a linked face.
    const GlyphCheck label = CheckGlyphs(FindControl(main, LblMenu(0)), s.label);
    EXPECT_GT(label.linked, 0) << label.face;
    Save(main, "menu");
}

TEST_P(Legibility, TheEditorsHaveAGlyphForEveryCharacter) {
    const Script& s = GetParam();
    Process p = Launch(exe, "-setup");
    HWND editor = WaitForWindow(std::string(s.title) + " - Menu Editor", kWait, p.Id());
    ASSERT_NE(editor, nullptr);
    Sleep(300);
    EXPECT_TRUE(LegibleCaption(editor, "the Menu Editor"));
    HWND title = FindControl(editor, wizard::sTitle);
    ASSERT_EQ(TextOf(title), s.title);
    EXPECT_TRUE(Legible(title, s.title, "the title box"));
    // The title box draws in MS Sans Serif's TrueType twin, at the design's size.
    EXPECT_NE(CheckGlyphs(title, s.title).face, "MS Sans Serif");
    EXPECT_EQ(FontHeightOf(title), FontHeightAt(9.75, ScreenDpi()));
    HWND list = FindControl(editor, wizard::sMenuItems);
    const auto rows = ListRows(list);
    ASSERT_EQ(rows.size(), 2u);
    for (const auto& row : rows)
        for (const auto& cell : row)
            if (!cell.empty()) {
                EXPECT_TRUE(Legible(list, cell, "the list of entries"));
            }
    Save(editor, "editor");

    ASSERT_TRUE(ListDoubleClickRow(list, 0));
    HWND item = WaitForWindow(std::string(s.title) + " - Edit Menu Item", kWait, p.Id());
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(LegibleCaption(item, "the item editor"));
    for (const auto& [id, what] : {std::pair{item::mButton, "the button box"}, std::pair{item::mLabel, "the label box"},
                                   std::pair{item::mFileFolder, "the file box"}}) {
        HWND box = FindControl(item, id);
        EXPECT_TRUE(Legible(box, TextOf(box), what));
    }
    ASSERT_TRUE(Click(FindControl(item, item::Refresh)));
    HWND preview = FindControl(item, item::mTest);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(preview) == s.button; }, kWait));
    EXPECT_TRUE(Legible(preview, s.button, "the button preview"));
    Save(item, "item");
}

INSTANTIATE_TEST_SUITE_P(Scripts, Legibility, ::testing::ValuesIn(kScripts),
                         [](const ::testing::TestParamInfo<Script>& info) { return std::string(info.param.name); });

struct WesternTitle : OrvelundTest {};

// Text that MS Sans Serif can draw keeps it: the look of a Western menu does not change. Text it
// cannot draw, typed or opened, goes to its twin, and back once it is gone.
TEST_F(WesternTitle, KeepsMsSansSerifAndOnlyOtherScriptsTakeTheTwin) {
    const std::string content = MakeContentFolder(Folder());
    WriteFileBytes(JoinPath(content, "config.ini"), MenuFile({"A,Alpha,a.txt,open"}, "TITLE:Caf\xe9 M\xfcller"));
    Process p = Launch(CopyExe(), "-setup");
    HWND editor = WaitForWindow("Caf\xc3\xa9 M\xc3\xbcller - Menu Editor", kWait, p.Id());
    ASSERT_NE(editor, nullptr);
    HWND title = FindControl(editor, wizard::sTitle);
    const long height = FontHeightOf(title);
    EXPECT_EQ(CheckGlyphs(title, TextOf(title)).face, "MS Sans Serif");
    EXPECT_EQ(CheckGlyphs(FindControl(editor, wizard::AppImage), "Application Image (app.jpg)").face, "MS Sans Serif");

    ASSERT_TRUE(TypeText(title, " \xd0\x9c\xd0\xb5\xd0\xbd\xd1\x8e"));  // Cyrillic, which this MS Sans Serif lacks
    ASSERT_TRUE(WaitUntil([&] { return CheckGlyphs(title, TextOf(title)).face != "MS Sans Serif"; }, kWait));
    EXPECT_EQ(TextOf(title), "Caf\xc3\xa9 M\xc3\xbcller \xd0\x9c\xd0\xb5\xd0\xbd\xd1\x8e");  // nothing typed is lost
    EXPECT_TRUE(Legible(title, TextOf(title), "the title box"));
    EXPECT_EQ(FontHeightOf(title), height);

    ASSERT_TRUE(ReplaceEditText(title, "Caf\xc3\xa9"));
    EXPECT_TRUE(WaitUntil([&] { return CheckGlyphs(title, TextOf(title)).face == "MS Sans Serif"; }, kWait));
}

// The relocation window lists the folders beside the program, whatever script their names are in.
TEST(RelocationFolders, HaveAGlyphForEveryCharacter) {
    const std::string folder = MakeTestFolder("legible-relocation");
    const std::string exe = JoinPath(folder, "Orvelund.exe");
    ASSERT_TRUE(CopyFileTo(OrvelundExe(), exe));
    for (const Script& s : kScripts) CreateDirectoryW(Widen(JoinPath(folder, s.button)).c_str(), nullptr);
    Process p = Start(exe);
    MessageBoxInfo box = WaitForMessageBox(kWait, p.Id());
    ASSERT_TRUE(box);
    ASSERT_TRUE(Answer(box, IDNO));
    HWND window = WaitForWindow("Choose New or Existing Location", kWait, p.Id());
    ASSERT_NE(window, nullptr);
    HWND folders = FindControl(window, choose::Dir1);
    const std::vector<std::string> rows = ListBoxRows(folders);
    for (const Script& s : kScripts) {
        bool listed = false;
        for (const std::string& row : rows) listed = listed || row.find(s.button) != std::string::npos;
        EXPECT_TRUE(listed) << s.button << " is not in the folder list";
    }
    for (const std::string& row : rows) EXPECT_TRUE(Legible(folders, row, "the folder list"));
    SaveScreenshot(JoinPath(ArtifactsFolder(), "legible-relocation.bmp"), window);
    p.Kill();
}

}  // namespace
