// The safety checks in front of JUCE's XML parser: what is refused, what still parses,
// and that the nesting measured is the nesting the parser builds.
#include "GuardedXmlParser.h"
#include "XmlTreeDepth.h"

#include <gtest/gtest.h>

namespace
{
juce::String Nested(int levels, const char* open = "<a>", const char* close = "</a>")
{
    juce::MemoryOutputStream text;

    for (int i = 0; i < levels; ++i)
        text << open;

    for (int i = 0; i < levels; ++i)
        text << close;

    return text.toString();
}

TEST(GuardedXmlParser, NestingUpToTheLimitParsesBeyondItIsRefused)
{
    const int limit = GuardedXmlParser::maxNesting;
    EXPECT_EQ(GuardedXmlParser::MeasureNesting(Nested(limit)), limit);
    EXPECT_NE(GuardedXmlParser::ParseText(Nested(limit)), nullptr);
    EXPECT_EQ(GuardedXmlParser::MeasureNesting(Nested(limit + 1)), -1);
    EXPECT_EQ(GuardedXmlParser::ParseText(Nested(limit + 1)), nullptr);
    EXPECT_EQ(GuardedXmlParser::ParseText(Nested(200000)), nullptr);
    EXPECT_EQ(GuardedXmlParser::ParseText(Nested(200000, "<a>", "")), nullptr) << "unclosed";
}

TEST(GuardedXmlParser, MeasuredNestingMatchesTheParsedTree)
{
    const char* documents[] = {
        "<a/>",
        "<a><b/></a>",
        "<?xml version=\"1.0\"?><!-- <x><y><z> --><a><b x=\"<c><d>\"><c/></b></a>",
        "<a><![CDATA[<b><c><d>]]><b>text<c/>&amp;<c>&#60;<d/></c></b></a>",
        "<?pi <c><d> ?><a x='&apos;<q>'><b><c/></b></a><!-- <e> -->",
        "<a><b x=\"1\"y=\"2\"><c><d/></c></b></a>",
        "<a>\r\n<b>\r</b>  <c> <!-- --> <d><e/></d></c></a>",
    };

    for (auto* text : documents)
    {
        const int measured = GuardedXmlParser::MeasureNesting(text);
        auto root = GuardedXmlParser::ParseText(text);
        ASSERT_NE(root, nullptr) << text;
        EXPECT_LE(TreeDepth(*root), measured + 1) << text;
        EXPECT_GE(TreeDepth(*root), measured) << text;
    }
}

TEST(GuardedXmlParser, DistinctNamesElementsAttributesAndReferencesUpToTheirLimits)
{
    const auto repeated = [](const juce::String& piece, int count, const char* open = "<a>", const char* close = "</a>")
    {
        juce::MemoryOutputStream text;
        text << open;

        for (int i = 0; i < count; ++i)
            text << piece.replace("#", juce::String(i));

        return text.toString() + close;
    };
    const auto accepted = [](const juce::String& text) { return GuardedXmlParser::ParseText(text) != nullptr; };

    // One name is the root's own, and the root is one element.
    EXPECT_TRUE(accepted(repeated(" n#=''", GuardedXmlParser::maxDistinctNames - 1, "<a", "/>")));
    EXPECT_FALSE(accepted(repeated(" n#=''", GuardedXmlParser::maxDistinctNames, "<a", "/>")));
    EXPECT_FALSE(accepted(repeated("<n#/>", GuardedXmlParser::maxDistinctNames))) << "tags are names too";

    // Pieces padded so that the limits on the count hold, not those on the density.
    const auto spaced = [](const char* piece, int bytes = GuardedXmlParser::bytesPerElement)
    { return (piece + juce::String::repeatedString(" ", bytes)).substring(0, bytes); };
    EXPECT_TRUE(accepted(repeated(spaced("<b/>"), GuardedXmlParser::maxElements - 1))) << "white space does not count";
    EXPECT_FALSE(accepted(repeated(spaced("<b/>"), GuardedXmlParser::maxElements - 1) + "<!-- -->"))
        << "comments count";
    EXPECT_FALSE(
        accepted(repeated(spaced("x<b/>", 2 * GuardedXmlParser::bytesPerElement), GuardedXmlParser::maxElements / 2)))
        << "text runs count";
    EXPECT_TRUE(accepted(repeated(" b=''", GuardedXmlParser::maxAttributes, "<a", "/>")));
    EXPECT_FALSE(accepted(repeated(" b=''", GuardedXmlParser::maxAttributes + 1, "<a", "/>")));
    EXPECT_TRUE(
        accepted(repeated(spaced("&amp;", GuardedXmlParser::bytesPerReference), GuardedXmlParser::maxReferences)));
    EXPECT_FALSE(
        accepted(repeated(spaced("&amp;", GuardedXmlParser::bytesPerReference), GuardedXmlParser::maxReferences + 1)));

    // Below those, a megabyte holds only as many elements and references as twice the
    // density of a real layout allows, plus a fixed allowance: packed tighter, they cost
    // the parser more per megabyte than a real layout.
    const auto oneMegabyte = [](const juce::String& content)
    { return "<a>" + content + juce::String::repeatedString(" ", (1 << 20) - 7 - content.length()) + "</a>"; };
    const int elements = GuardedXmlParser::elementAllowance + (1 << 20) / GuardedXmlParser::bytesPerElement;
    const auto textRuns = juce::String::repeatedString("x<b/>", elements / 2 - 1);
    EXPECT_TRUE(accepted(oneMegabyte(textRuns + "<b/>")));
    EXPECT_FALSE(accepted(oneMegabyte(textRuns + "<b/><b/>")));
    const int references = GuardedXmlParser::referenceAllowance + (1 << 20) / GuardedXmlParser::bytesPerReference;
    EXPECT_TRUE(accepted(oneMegabyte(juce::String::repeatedString("&u;", references))));
    EXPECT_FALSE(accepted(oneMegabyte(juce::String::repeatedString("&u;", references + 1))));

    // Each use of a name costs a search of the parser's pool of names, longer with longer names.
    const juce::String longest = juce::String::repeatedString("n", GuardedXmlParser::maxNameLength);
    EXPECT_TRUE(accepted("<" + longest + " " + longest + "=''/>"));
    EXPECT_FALSE(accepted("<" + longest + "n/>"));
    EXPECT_FALSE(accepted("<a " + longest + "n=''/>"));

    // The parser copies a value once for each reference in it: the same references are
    // accepted as text but not in one long value, and a small file may not make it copy
    // much more than its own size.
    EXPECT_TRUE(accepted(repeated("&amp;", 4096)));
    EXPECT_FALSE(accepted(repeated("&amp;", 4096, "<a v='", "'/>")));
    EXPECT_TRUE(accepted(repeated("&amp;", 200, "<a v='", "'/>")));
    EXPECT_FALSE(accepted(repeated("&amp;", 1024, "<a v='", "'/>")));
}

TEST(GuardedXmlParser, DoctypeAndUnusualEntitiesAreRefused)
{
    const char* refused[] = {
        "<!DOCTYPE a><a/>",
        "<!-- c --> <!DOCTYPE a [<!ENTITY x \"y\">]><a>&x;</a>",
        "<!DOCTYPE a SYSTEM \"/etc/passwd\"><a>&x;</a>",
        "<a>Tom & Jerry</a>",
        "<a>&<b><c>;</a>",
        "<a x=\"&\"><b/>;\"/>",
        "<a>&#;</a>",
        "<a>&#x110000;</a>",
        "<a>&#1234567890123;</a>",
        "<a>&#x<b>;</a>",
        "<a>&aVeryLongNameThatGoesOnAndOnAndOnAndOnAndOnAndOnAndOnAndOnAndOnAndOnAndOn;</a>",
    };

    for (auto* text : refused)
    {
        EXPECT_EQ(GuardedXmlParser::MeasureNesting(text), -1) << text;
        EXPECT_EQ(GuardedXmlParser::ParseText(text), nullptr) << text;
    }

    // Plain references still parse; an unknown name stands for itself.
    auto root = GuardedXmlParser::ParseText("<a v=\"&lt;&#65;&#x42;&unknown;\"/>");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->getStringAttribute("v"), "<ABunknown");
}

TEST(GuardedXmlParser, InputsThatWouldNeverFinishAreRefused)
{
    // JUCE's parser loops for ever on text that follows a processing instruction.
    EXPECT_EQ(GuardedXmlParser::MeasureNesting("<a><?pi?>text</a>"), -1);
    EXPECT_EQ(GuardedXmlParser::ParseText("<a><?pi?>text</a>"), nullptr);
    EXPECT_EQ(GuardedXmlParser::ParseText("<a> <?pi?> text <b/></a>"), nullptr);
}

TEST(GuardedXmlParser, OnlyWhiteSpaceCommentsAndInstructionsSurroundTheRoot)
{
    EXPECT_NE(GuardedXmlParser::ParseText("<?xml version='1.0'?>\n<!-- a --><?pi?> <a></a> <!-- b -->\n"), nullptr);

    for (auto* text : { "x<a/>", "<a/>x", "<a/><b/>", "<a></b>", "<a><b></a></b>", "<a/><![CDATA[x]]>", "< a/>" })
        EXPECT_EQ(GuardedXmlParser::ParseText(text), nullptr) << text;
}

TEST(GuardedXmlParser, MalformedTextGivesNothing)
{
    // Cut short anywhere, a document gives nothing rather than part of its elements.
    for (auto* text : { "", " ", "<", "<a", "<a x=\"1\"", "<a><b></a", "<a><b/></a", "<a><b/>text", "text",
                        "<a x=\"1></a>", "<a><!-- </a>", "<a><![CDATA[ </a>" })
        EXPECT_EQ(GuardedXmlParser::ParseText(text), nullptr) << text;
}

class GuardedXmlFile : public ::testing::Test
{
protected:
    juce::TemporaryFile temporary { ".xml" };
    const juce::File& file = temporary.getFile();

    std::unique_ptr<juce::XmlElement> ParseBytes(const void* data, size_t size)
    {
        file.replaceWithData(data, size);
        return GuardedXmlParser::ParseFile(file);
    }
};

TEST_F(GuardedXmlFile, EncodingsAreDecoded)
{
    const char utf8Bom[] = "\xef\xbb\xbf<a n=\"\xc3\xa9\"/>";
    auto fromBom = ParseBytes(utf8Bom, sizeof(utf8Bom) - 1);
    ASSERT_NE(fromBom, nullptr);
    EXPECT_EQ(fromBom->getStringAttribute("n"), juce::String(juce::CharPointer_UTF8("\xc3\xa9")));

    const char16_t utf16[] = u"\xfeff<a n=\"\x00e9\"/>";
    auto fromUtf16 = ParseBytes(utf16, sizeof(utf16) - 2);
    ASSERT_NE(fromUtf16, nullptr);
    EXPECT_EQ(fromUtf16->getStringAttribute("n"), juce::String(juce::CharPointer_UTF8("\xc3\xa9")));

    const char bomOnly[] = "\xef\xbb\xbf";
    EXPECT_EQ(ParseBytes(bomOnly, 3), nullptr);
    const char16_t utf16BomOnly[] = u"\xfeff";
    EXPECT_EQ(ParseBytes(utf16BomOnly, 2), nullptr);

    const char latin1[] = "<a n=\"caf\xe9\"/>";
    auto fromLatin1 = ParseBytes(latin1, sizeof(latin1) - 1);
    ASSERT_NE(fromLatin1, nullptr) << "bytes that are not UTF-8 are still read";
    EXPECT_EQ(fromLatin1->getStringAttribute("n"), juce::String(juce::CharPointer_UTF8("caf\xc3\xa9")));
}

TEST_F(GuardedXmlFile, BinaryAndMissingFilesGiveNothing)
{
    const unsigned char binary[] = { 0x3c, 0x61, 0x00, 0x3e, 0xff, 0x00, 0x3c, 0x2f, 0x61, 0x3e };
    EXPECT_EQ(ParseBytes(binary, sizeof(binary)), nullptr);
    EXPECT_EQ(GuardedXmlParser::ParseFile(file.getSiblingFile("missing.xml")), nullptr);
    EXPECT_EQ(GuardedXmlParser::ParseFile(file.getParentDirectory()), nullptr);
}

TEST_F(GuardedXmlFile, EndlessDeviceIsReadOnlyUpToTheLimit)
{
    // Reports size 0 yet never ends: reading stops at the limit.
    EXPECT_EQ(GuardedXmlParser::ParseFile(juce::File("/dev/zero")), nullptr);
}
} // namespace
