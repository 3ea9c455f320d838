#include "GuardedXmlParser.h"

#include "FileStatus.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#ifndef _WIN32
 #include <locale.h>
#endif

namespace
{
using CharPtr = juce::String::CharPointerType;
using juce::juce_wchar;

bool isIdentifierChar (juce_wchar c) noexcept
{
    // The same set JUCE's parser takes for tag and attribute names.
    static const juce::uint32 legalChars[] = { 0, 0x7ff6000, 0x87fffffe, 0x7fffffe, 0 };

    // juce_wchar is unsigned where wchar_t is 16 bits wide (Windows).
    if (static_cast<std::make_signed_t<juce_wchar>> (c) < 0)
        return false;

    if (c < (juce_wchar) (juce::numElementsInArray (legalChars) * 32))
        return (legalChars[c >> 5] & (juce::uint32) (1u << (c & 31))) != 0;

    return juce::CharacterFunctions::isLetterOrDigit (c) || c == '_' || c == '-' || c == ':' || c == '.';
}

CharPtr findEndOfToken (CharPtr p) noexcept
{
    while (isIdentifierChar (*p))
        ++p;

    return p;
}

bool isAsciiNameChar (juce_wchar c) noexcept
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
        || c == '_' || c == ':' || c == '.' || c == '-';
}

/*  Walks a document the way JUCE's XmlDocument does, step for step, but with a counter in
    place of the recursion. Each step below mirrors the parser function of the same name,
    so the depth found is the depth the parser would reach. Differences: entity references
    are accepted only in their plain forms (which the parser consumes up to their ';' and
    never turns into elements), and a DOCTYPE is refused outright.
*/
class NestingScan
{
public:
    explicit NestingScan (CharPtr text) noexcept : input (text) {}

    int run() noexcept
    {
        if (input.isEmpty())
            return 0;

        skipNextWhiteSpace();

        if (juce::CharacterFunctions::compareUpTo (input, juce::CharPointer_ASCII ("<?xml"), 5) == 0)
        {
            auto headerEnd = juce::CharacterFunctions::find (input, juce::CharPointer_ASCII ("?>"));

            if (headerEnd.isEmpty())
                return 0;

            input = headerEnd + 2;
            skipNextWhiteSpace();
        }

        // Entity definitions can expand without bound or name other files; the host never writes one.
        if (juce::CharacterFunctions::compareUpTo (input, juce::CharPointer_ASCII ("<!DOCTYPE"), 9) == 0)
            return -1;

        const auto root = readNextElement();

        if (refused || truncated())
            return -1;

        if (root != Opened::withChildren)
            return 0;

        int depth = 1, deepest = 1;

        while (depth > 0)
        {
            const auto before = input;
            const auto step = readChildStep();

            if (refused)
                return -1;

            if (step == Step::close)
            {
                --depth;
            }
            else if (step == Step::descend)
            {
                if (++depth > GuardedXmlParser::maxNesting)
                    return -1;

                deepest = std::max (deepest, depth);
            }
            else if (input == before)
            {
                return -1; // the parser would repeat this step for ever
            }
        }

        // The parser accepts a document cut short and returns what it got: a file read while
        // the host writes it would give part of a layout. Treat it as not well-formed instead.
        return truncated() ? -1 : deepest;
    }

private:
    enum class Opened { none, withoutChildren, withChildren };
    enum class Step { next, close, descend };

    CharPtr input;
    bool outOfData = false;
    bool refused = false;
    bool closeTagUnfinished = false;

    bool truncated() const noexcept { return outOfData || closeTagUnfinished; }

    juce_wchar readNextChar() noexcept
    {
        auto c = input.getAndAdvance();

        if (c == 0)
        {
            outOfData = true;
            --input;
        }

        return c;
    }

    void skipNextWhiteSpace() noexcept
    {
        for (;;)
        {
            input.incrementToEndOfWhitespace();

            if (input.isEmpty())
            {
                outOfData = true;
                break;
            }

            if (*input == '<')
            {
                const bool comment = input[1] == '!' && input[2] == '-' && input[3] == '-';
                if (comment || input[1] == '?')
                {
                    if (! skipPast (comment ? 4 : 2, comment ? "-->" : "?>"))
                        break;
                    continue;
                }
            }

            break;
        }
    }

    // Steps over an opening of openLength characters and on past the closing text;
    // false (out of data) when the closing text never comes.
    bool skipPast (int openLength, const char* closing) noexcept
    {
        input += openLength;
        const auto end = input.indexOf (juce::CharPointer_ASCII (closing));

        if (end < 0)
        {
            outOfData = true;
            return false;
        }

        input += end + static_cast<int> (std::strlen (closing));
        return true;
    }

    // At '&': accepts "&name;", "&#digits;" and "&#xhex;" naming a real code point, and
    // moves past the ';' as the parser would. Anything else refuses the document.
    void readEntity() noexcept
    {
        auto p = input + 1;

        if (*p == '#')
        {
            ++p;
            const bool hex = (*p == 'x' || *p == 'X');

            if (hex)
                ++p;

            juce::int64 code = 0;
            int digits = 0;

            for (;; ++p, ++digits)
            {
                const int value = hex ? juce::CharacterFunctions::getHexDigitValue (*p)
                                      : ((*p >= '0' && *p <= '9') ? (int) (*p - '0') : -1);

                if (value < 0 || digits > 12)
                    break;

                code = code * (hex ? 16 : 10) + value;
            }

            if (digits == 0 || digits > (hex ? 8 : 12) || *p != ';' || code > 0x10ffff)
            {
                refused = true;
                return;
            }
        }
        else
        {
            int length = 0;

            while (length <= 64 && isAsciiNameChar (*p))
            {
                ++p;
                ++length;
            }

            if (length == 0 || length > 64 || *p != ';')
            {
                refused = true;
                return;
            }
        }

        input = p + 1;
    }

    void readQuotedString() noexcept
    {
        auto quote = readNextChar();

        while (! outOfData && ! refused)
        {
            auto c = readNextChar();

            if (c == quote)
                break;

            --input;

            if (c == '&')
            {
                readEntity();
            }
            else
            {
                for (;;)
                {
                    auto character = *input;

                    if (character == quote)
                    {
                        ++input;
                        return;
                    }

                    if (character == '&')
                        break;

                    if (character == 0)
                    {
                        outOfData = true;
                        break;
                    }

                    ++input;
                }
            }
        }
    }

    Opened readNextElement() noexcept
    {
        skipNextWhiteSpace();

        if (outOfData || *input != '<')
            return Opened::none;

        ++input;
        auto endOfToken = findEndOfToken (input);

        if (endOfToken == input)
        {
            skipNextWhiteSpace();
            endOfToken = findEndOfToken (input);

            if (endOfToken == input)
                return Opened::none;
        }

        input = endOfToken;

        for (;;)
        {
            skipNextWhiteSpace();
            auto c = *input;

            if (c == '/' && input[1] == '>')
            {
                input += 2;
                return Opened::withoutChildren;
            }

            if (c == '>')
            {
                ++input;
                return Opened::withChildren;
            }

            if (isIdentifierChar (c))
            {
                input = findEndOfToken (input);
                skipNextWhiteSpace();

                if (readNextChar() != '=')
                    return Opened::withoutChildren;

                skipNextWhiteSpace();
                auto nextChar = *input;

                if (nextChar == '"' || nextChar == '\'')
                {
                    readQuotedString();

                    if (refused)
                        return Opened::none;

                    continue;
                }
            }

            return Opened::withoutChildren;
        }
    }

    // One turn of the parser's loop over an element's content.
    Step readChildStep() noexcept
    {
        const auto preWhitespaceInput = input;
        skipNextWhiteSpace();

        if (outOfData)
            return Step::close;

        if (*input == '<')
        {
            auto c1 = input[1];

            if (c1 == '/')
            {
                auto closeTag = input.indexOf ((juce_wchar) '>');

                if (closeTag >= 0)
                    input += closeTag + 1;
                else
                    closeTagUnfinished = true;

                return Step::close;
            }

            if (c1 == '!' && juce::CharacterFunctions::compareUpTo (input + 2, juce::CharPointer_ASCII ("[CDATA["), 7) == 0)
            {
                skipPast (9, "]]>"); // out of data makes the document truncated, whatever the step
                return Step::next;
            }

            switch (readNextElement())
            {
                case Opened::none:            return Step::close;
                case Opened::withChildren:    return Step::descend;
                case Opened::withoutChildren: return Step::next;
            }
        }

        // A run of text: the parser rolls back over the white space it skipped.
        input = preWhitespaceInput;

        for (;;)
        {
            auto c = *input;

            if (c == '<')
            {
                if (input[1] == '!' && input[2] == '-' && input[3] == '-')
                {
                    if (! skipPast (4, "-->"))
                        return Step::close;
                    continue;
                }

                break;
            }

            if (c == 0)
            {
                outOfData = true;
                return Step::close;
            }

            if (c == '&')
            {
                readEntity();

                if (refused)
                    return Step::close;

                continue;
            }

            for (;; ++input)
            {
                auto nextChar = *input;

                if (nextChar == '<' || nextChar == '&')
                    break;

                if (nextChar == 0)
                {
                    outOfData = true;
                    return Step::close;
                }
            }
        }

        return Step::next;
    }
};
} // namespace

juce::String GuardedXmlParser::decode (const void* data, size_t size)
{
    // JUCE's decoder reads one character past a file that holds nothing but a byte-order
    // mark: give it a terminated copy.
    juce::MemoryBlock terminated (data, size);
    terminated.append ("\0\0\0", 4);
    return juce::String::createStringFromData (terminated.getData(), (int) size);
}

int GuardedXmlParser::measureNesting (const juce::String& text)
{
    return NestingScan (text.getCharPointer()).run();
}

namespace
{
/*  JUCE's parser asks the C library whether a character beyond ASCII may stand in a name,
    and on Linux the answer follows the process's locale: in the C locale no such letter
    may, and a document that names an element "Écran" is not read at all. For as long as
    it lives, this object gives the calling thread (only) the character classes of
    C.UTF-8, so a document reads the same whatever locale the host set. The Windows C
    library classifies wide characters from Unicode's tables whatever the locale.
*/
class ScopedUnicodeCharacterClasses
{
public:
   #ifdef _WIN32
    ScopedUnicodeCharacterClasses() noexcept = default;
   #else
    ScopedUnicodeCharacterClasses() noexcept
        : previous (unicode() != (locale_t) 0 ? ::uselocale (unicode()) : (locale_t) 0)
    {
    }

    ~ScopedUnicodeCharacterClasses()
    {
        if (previous != (locale_t) 0)
            ::uselocale (previous);
    }

private:
    static locale_t unicode() noexcept
    {
        static const locale_t classes = ::newlocale (LC_CTYPE_MASK, "C.UTF-8", (locale_t) 0);
        return classes;
    }

    locale_t previous;
   #endif

    JUCE_DECLARE_NON_COPYABLE (ScopedUnicodeCharacterClasses)
};
} // namespace

std::unique_ptr<juce::XmlElement> GuardedXmlParser::parseText (const juce::String& text) noexcept
{
    try
    {
        const ScopedUnicodeCharacterClasses characterClasses;

        if (measureNesting (text) < 0)
            return {};

        // Built from text, the document has no input source: entities cannot reach files.
        juce::XmlDocument document (text);
        return document.getDocumentElement();
    }
    catch (...)
    {
        return {};
    }
}

std::unique_ptr<juce::XmlElement> GuardedXmlParser::parseFile (const juce::File& file) noexcept
{
    try
    {
        // Only plain files are opened: a named pipe without a writer would block the host's thread.
        const auto status = FileStatus::of (file);

        if (status.kind != FileStatus::Kind::plainFile || status.size > maxFileBytes)
            return {};

        juce::FileInputStream stream (file);

        if (stream.failedToOpen())
            return {};

        // Bounded even when the size reported up front was wrong (a growing file, a device).
        juce::MemoryBlock data;
        stream.readIntoMemoryBlock (data, (juce::pointer_sized_int) (maxFileBytes + 1));

        if ((juce::int64) data.getSize() > maxFileBytes)
            return {};

        return parseText (decode (data.getData(), data.getSize()));
    }
    catch (...)
    {
        return {};
    }
}
