// The one decoder of documents shown or read as text: a byte-order mark, then
// a declaration the bytes can be in, then UTF-8 when the bytes are UTF-8 with
// a multi-byte sequence, else code page 936.
#include "platform/text/document_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text/text.h"

namespace platform::text {
namespace {

const std::string Gbk = toCp936("旅行光盘首页");  // D3 C3 D0 D0 ... : not UTF-8

TEST(DocumentText, CharsetByMarkDeclarationAndBytes) {
    struct Case {
        const char* what;
        std::string bytes;
        DocumentCharset expected;
    };
    const std::vector<Case> cases = {
        // Byte-order marks decide, whatever follows.
        {"utf-8 mark",
         "\xEF\xBB\xBF"
         "abc",
         DocumentCharset::Utf8},
        {"utf-8 mark over a gbk declaration", "\xEF\xBB\xBF<meta charset=gbk>中",
         DocumentCharset::Utf8},
        {"utf-16 le mark",
         std::string("\xFF\xFE"
                     "a\0",
                     4),
         DocumentCharset::Utf16Le},
        {"utf-16 be mark", std::string("\xFE\xFF\0a", 4), DocumentCharset::Utf16Be},
        // Declarations the bytes can be in.
        {"meta charset gb2312", "<meta charset=\"gb2312\">" + Gbk, DocumentCharset::Cp936},
        {"http-equiv utf-8",
         "<meta http-equiv=Content-Type content=\"text/html; charset=UTF-8\">旅行",
         DocumentCharset::Utf8},
        {"blanks and capitals", "<META CONTENT='text/html; Charset = utf8'>",
         DocumentCharset::Utf8},
        {"latin-1 is windows-1252", "<meta charset=iso-8859-1>caf\xE9",
         DocumentCharset::Windows1252},
        {"xml encoding utf-8", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>中</a>",
         DocumentCharset::Utf8},
        {"xml encoding gb2312", "<?xml version='1.0' encoding='gb2312'?><a>" + Gbk + "</a>",
         DocumentCharset::Cp936},
        // A declaration of code page 936 wins over bytes that are also UTF-8.
        {"gbk declared over utf-8 that reads as gbk", "<meta charset=gbk>\xE4\xB8\xAD\xE6\x96\x87",
         DocumentCharset::Cp936},
        // Declarations that lie, or that the program cannot read: the bytes decide.
        {"utf-8 declared, gbk bytes", "<meta charset=\"utf-8\">" + Gbk, DocumentCharset::Cp936},
        // ("光" is E5 85 89: its last byte starts no code page 936 character.)
        {"gbk declared, utf-8 bytes that are no gbk", "<meta charset=gbk>光",
         DocumentCharset::Utf8},
        {"big5 declared, utf-8 bytes", "<meta charset=big5>旅行", DocumentCharset::Utf8},
        {"utf-16 declared without a mark", "<meta charset=utf-16>旅行", DocumentCharset::Utf8},
        {"charset outside a meta tag", "charset is a word; charset=utf-8 " + Gbk,
         DocumentCharset::Cp936},
        // No declaration.
        {"utf-8 with multi-byte", "旅行光盘首页", DocumentCharset::Utf8},
        {"ascii only", "plain text", DocumentCharset::Cp936},
        {"gbk", Gbk, DocumentCharset::Cp936},
        {"mixed utf-8 and gbk", "旅行" + Gbk, DocumentCharset::Cp936},
        {"utf-8 cut at the end", std::string("旅行光").substr(0, 8), DocumentCharset::Utf8},
        {"empty", "", DocumentCharset::Cp936},
    };
    for (const Case& c : cases) EXPECT_EQ(documentCharset(c.bytes), c.expected) << c.what;
}

TEST(DocumentText, DecodesEachCharsetToUtf8) {
    EXPECT_EQ(decodeDocument(Gbk), "旅行光盘首页");
    EXPECT_EQ(decodeDocument("旅行光盘首页"), "旅行光盘首页");
    EXPECT_EQ(decodeDocument("<meta charset=\"utf-8\"><title>旅行光盘首页</title>"),
              "<meta charset=\"utf-8\"><title>旅行光盘首页</title>");
    EXPECT_EQ(decodeDocument("<meta charset=\"gb2312\"><title>" + Gbk + "</title>"),
              "<meta charset=\"gb2312\"><title>旅行光盘首页</title>");
    // The mark is dropped.
    EXPECT_EQ(decodeDocument("\xEF\xBB\xBF光"), "光");
    // UTF-16 (Notepad's "Unicode"), a pair of surrogates included.
    EXPECT_EQ(decodeDocument(std::string("\xFF\xFE\x49\x51\x0D\x00\x0A\x00\x3D\xD8\x00\xDE", 12)),
              "光\r\n😀");
    EXPECT_EQ(decodeDocument(std::string("\xFE\xFF\x51\x49\x00", 5)), "光");
    EXPECT_EQ(decodeDocument("<meta charset=windows-1252>\x80 caf\xE9"),
              "<meta charset=windows-1252>€ café");
    // Mixed bytes: code page 936, whose escapes keep every byte.
    const std::string mixed = "旅" + Gbk + "\xFF";
    EXPECT_EQ(decodeDocument(mixed), fromCp936(mixed));
    EXPECT_EQ(toCp936(decodeDocument(mixed)), mixed);
    // A character cut by a partial read is left out.
    EXPECT_EQ(decodeDocument(std::string("旅行光").substr(0, 8)), "旅行");
    // A marked UTF-8 text with a broken byte: U+FFFD in its place.
    EXPECT_EQ(decodeDocument("\xEF\xBB\xBF"
                             "a\xFF"
                             "b"),
              "a\xEF\xBF\xBD"
              "b");
}

TEST(DocumentText, TheNoteNamesTheFile) {
    const std::string page = notePage("E:\\图 集\\a<b>.png");
    EXPECT_NE(page.find("<p>预览窗口不能显示这种文件：a&lt;b&gt;.png</p>"), std::string::npos)
        << page;
    EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
    const std::string address = noteAddress("E:\\a.png");
    EXPECT_EQ(address.rfind("data:text/html;charset=utf-8;base64,", 0), 0u);
    // Base64 of the page: letters, digits, "+", "/" and "=" only.
    EXPECT_EQ(address.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                        "0123456789+/=",
                                        36),
              std::string::npos);
    EXPECT_NE(noteAddress("E:\\a.png"), noteAddress("E:\\b.png"));
}

}  // namespace
}  // namespace platform::text
