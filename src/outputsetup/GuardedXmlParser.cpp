#include "GuardedXmlParser.h"

#include "FileStatus.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <type_traits>
#include <unordered_set>
#include <vector>

#ifndef _WIN32
#include <locale.h>
#endif

namespace
{
static_assert(std::is_same_v<juce::String::CharPointerType, juce::CharPointer_UTF8>,
              "the guard reads the text as UTF-8 bytes");

bool IsSpace(char c) noexcept
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Every byte of a character beyond ASCII is taken as part of a name: JUCE's parser reads
// the same name or stops with an error, since what the guard accepts after a name ('=',
// '>', '/', white space) is never part of one for JUCE.
bool IsNameStart(char c) noexcept
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || (unsigned char)c >= 0x80;
}

bool IsNameChar(char c) noexcept
{
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

int DigitValue(char c, bool hex) noexcept
{
    if (c >= '0' && c <= '9')
        return c - '0';

    if (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')))
        return (c | 0x20) - 'a' + 10;

    return -1;
}

bool IsXmlCharacter(juce::int64 code) noexcept
{
    return code == 0x9 || code == 0xa || code == 0xd || (code >= 0x20 && code <= 0xd7ff) ||
           (code >= 0xe000 && code <= 0xfffd) || (code >= 0x10000 && code <= 0x10ffff);
}

/*  One pass over the text that accepts a plain subset of XML's syntax, the subset in
    which JUCE's parser builds the tree that XML's grammar gives, and refuses the rest:
    - before and after the root element only white space, comments and processing
      instructions (the XML declaration is one); no document type, whose entities can
      expand without bound or name other files;
    - a start tag is '<', a name, attributes as name="value" or name='value', then '>'
      or '/>'; an end tag names the element it closes;
    - content is text, elements, comments and CDATA sections. No processing instruction:
      JUCE's parser loops for ever on text that follows one there;
    - references are &name; or the number of an XML character: nothing a reference
      expands to can become markup;
    - a zero ends the text, so a document cut short is refused.
    Two liberties JUCE's parser takes the way XML means them are allowed: '<' inside a
    quoted value, and attributes without white space between them. On this subset the
    parser recurses once per level the guard counts and stops where the guard stops.
*/
class Guard
{
public:
    explicit Guard(const char* text) : Guard(text, (juce::int64)std::strlen(text)) {}

    // The deepest nesting of elements, or -1 when the document is refused.
    int Run()
    {
        if (!SkipMisc() || *p != '<' || !StartTag())
            return -1;

        while (!open.empty())
            if (!ContentStep())
                return -1;

        return SkipMisc() && *p == 0 ? deepest : -1;
    }

private:
    const char* p;
    const int mostElements, mostReferences;
    const juce::int64 mostValueCopyBytes;
    std::vector<std::string_view> open; // the elements not closed yet, innermost last
    std::unordered_set<std::string_view> names;
    int elements = 0, attributes = 0, references = 0, deepest = 0;
    juce::int64 valueCopyBytes = 0;

    // The limits that depend on the size of the text.
    Guard(const char* text, juce::int64 textBytes)
        : p(text), mostElements(GuardedXmlParser::MostElements(textBytes)),
          mostReferences(GuardedXmlParser::MostReferences(textBytes)),
          mostValueCopyBytes(GuardedXmlParser::MostValueCopyBytes(textBytes))
    {
    }

    bool StartsWith(const char* prefix) const noexcept { return std::strncmp(p, prefix, std::strlen(prefix)) == 0; }

    bool SkipPast(const char* closing) noexcept
    {
        const char* found = std::strstr(p, closing);
        p = found != nullptr ? found + std::strlen(closing) : p;
        return found != nullptr;
    }

    void SkipSpace() noexcept
    {
        while (IsSpace(*p))
            ++p;
    }

    // White space, comments and processing instructions, outside the root element.
    bool SkipMisc() noexcept
    {
        for (;;)
        {
            SkipSpace();
            const bool comment = StartsWith("<!--");

            if (!comment && !StartsWith("<?"))
                return true;

            p += comment ? 4 : 2;

            if (!IsNewElement() || !SkipPast(comment ? "-->" : "?>"))
                return false;
        }
    }

    // The name that starts here, empty when none does.
    std::string_view Name() noexcept
    {
        const char* start = p;

        if (IsNameStart(*p))
            while (IsNameChar(*++p))
            {
            }

        return { start, (size_t)(p - start) };
    }

    // Every distinct tag and attribute name goes into JUCE's process-wide string pool,
    // which keeps them sorted in one array: each new name moves all that sort after it,
    // and each use of a name compares it with a dozen others there, so its length counts
    // that often. False for an empty name too.
    bool IsNewName(std::string_view name)
    {
        if (name.empty() || name.size() > (size_t)GuardedXmlParser::maxNameLength)
            return false;

        names.insert(name);
        return names.size() <= (size_t)GuardedXmlParser::maxDistinctNames;
    }

    bool IsNewElement() noexcept { return ++elements <= mostElements; }

    // At '&': a reference ends with ';' and stands for a name or an XML character.
    bool Reference()
    {
        if (++references > mostReferences)
            return false;

        ++p;

        if (*p == '#')
        {
            const bool hex = (p[1] == 'x');
            p += hex ? 2 : 1;
            juce::int64 code = 0;
            int digits = 0;

            for (int value; digits <= 8 && (value = DigitValue(*p, hex)) >= 0; ++p, ++digits)
                code = code * (hex ? 16 : 10) + value;

            if (digits == 0 || digits > 8 || !IsXmlCharacter(code))
                return false;
        }
        else if (const auto entity = Name(); entity.empty() || entity.size() > 64)
        {
            return false;
        }

        if (*p != ';')
            return false;

        ++p;
        return true;
    }

    // Text up to the given character (a closing quote, or the '<' that ends a run of
    // content); false when the text ends first or holds a reference the guard refuses.
    bool Text(char end)
    {
        while (*p != end)
        {
            if (*p == 0)
                return false;

            if (*p != '&')
                ++p;
            else if (!Reference())
                return false;
        }

        return true;
    }

    // At '<': a start tag with its attributes; an element with content is left open.
    bool StartTag()
    {
        ++p;
        const auto tag = Name();

        if (!IsNewName(tag) || !IsNewElement())
            return false;

        for (;;)
        {
            SkipSpace();

            if (p[0] == '/' && p[1] == '>')
            {
                p += 2;
                return true;
            }

            if (*p == '>')
            {
                ++p;
                open.push_back(tag);
                deepest = std::max(deepest, (int)open.size());
                return deepest <= GuardedXmlParser::maxNesting;
            }

            const auto attribute = Name();

            if (!IsNewName(attribute) || ++attributes > GuardedXmlParser::maxAttributes)
                return false;

            SkipSpace();

            if (*p != '=')
                return false;

            ++p;
            SkipSpace();
            const char quote = *p;

            if (quote != '"' && quote != '\'')
                return false;

            ++p;
            const char* value = p;
            const int referencesBefore = references;

            if (!Text(quote))
                return false;

            // JUCE's parser copies a value once more for each reference in it.
            valueCopyBytes += (juce::int64)(references - referencesBefore) * (p - value);

            if (valueCopyBytes > mostValueCopyBytes)
                return false;

            ++p;
        }
    }

    // One piece of an open element's content.
    bool ContentStep()
    {
        // JUCE's parser skips white space before a tag, but makes (and allocates for) a
        // text run of anything else: such a run costs it as much as an element.
        SkipSpace();

        if (*p != '<')
            return IsNewElement() && Text('<');

        if (p[1] == '/')
        {
            p += 2;

            if (Name() != open.back())
                return false;

            SkipSpace();

            if (*p != '>')
                return false;

            ++p;
            open.pop_back();
            return true;
        }

        if (StartsWith("<!--"))
        {
            p += 4;
            return IsNewElement() && SkipPast("-->");
        }

        // JUCE's parser makes a text element of each CDATA section.
        if (StartsWith("<![CDATA["))
        {
            p += 9;
            return IsNewElement() && SkipPast("]]>");
        }

        return StartTag(); // '<?' and any other '<!' have no name: refused there
    }
};
} // namespace

juce::String GuardedXmlParser::Decode(const void* data, size_t size)
{
    // JUCE's decoder reads one character past a file that holds nothing but a byte-order
    // mark: give it a terminated copy.
    juce::MemoryBlock terminated(data, size);
    terminated.append("\0\0\0", 4);
    return juce::String::createStringFromData(terminated.getData(), (int)size);
}

int GuardedXmlParser::MostElements(juce::int64 textBytes) noexcept
{
    return (int)std::min<juce::int64>(maxElements, elementAllowance + textBytes / bytesPerElement);
}

int GuardedXmlParser::MostReferences(juce::int64 textBytes) noexcept
{
    return (int)std::min<juce::int64>(maxReferences, referenceAllowance + textBytes / bytesPerReference);
}

juce::int64 GuardedXmlParser::MostValueCopyBytes(juce::int64 textBytes) noexcept
{
    // A real layout copies a few kilobytes; 32 MiB take JUCE's parser about 10 ms.
    return std::min<juce::int64>(32 * 1024 * 1024, (1 << 20) + textBytes);
}

int GuardedXmlParser::MeasureNesting(const juce::String& text)
{
    return Guard(text.toRawUTF8()).Run();
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
    ScopedUnicodeCharacterClasses() noexcept {} // not defaulted: the object is used for its scope
#else
    ScopedUnicodeCharacterClasses() noexcept : previous(Unicode() != (locale_t)0 ? ::uselocale(Unicode()) : (locale_t)0)
    {
    }

    ~ScopedUnicodeCharacterClasses()
    {
        if (previous != (locale_t)0)
            ::uselocale(previous);
    }

private:
    // Made once; released when the library is unloaded.
    static locale_t Unicode() noexcept
    {
        static const struct Classes
        {
            locale_t locale = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", (locale_t)0);
            ~Classes()
            {
                if (locale != (locale_t)0)
                    ::freelocale(locale);
            }
        } classes;

        return classes.locale;
    }

    locale_t previous;
#endif

    JUCE_DECLARE_NON_COPYABLE(ScopedUnicodeCharacterClasses)
};
} // namespace

std::unique_ptr<juce::XmlElement> GuardedXmlParser::ParseText(const juce::String& text) noexcept
{
    try
    {
        const ScopedUnicodeCharacterClasses characterClasses;

        if (MeasureNesting(text) < 0)
            return {};

        // Built from text, the document has no input source: entities cannot reach files.
        juce::XmlDocument document(text);
        return document.getDocumentElement();
    }
    catch (...)
    {
        return {};
    }
}

std::unique_ptr<juce::XmlElement> GuardedXmlParser::ParseFile(const juce::File& file) noexcept
{
    bool readWhole = true;
    return ParseFile(file, readWhole);
}

std::unique_ptr<juce::XmlElement> GuardedXmlParser::ParseFile(const juce::File& file, bool& readWhole) noexcept
{
    readWhole = true;

    try
    {
        // Only plain files are opened: a named pipe without a writer would block the host's thread.
        const auto status = FileStatus::Of(file);

        if (status.kind != FileStatus::Kind::plainFile || status.size > maxFileBytes)
            return {};

        const auto openFails = FileStatus::testStandIns.openFails;
        juce::FileInputStream stream(file);

        if (stream.failedToOpen() || (openFails != nullptr && openFails(file)))
        {
            readWhole = false;
            return {};
        }

        // Bounded even when the size reported up front was wrong (a growing file, a device).
        juce::MemoryBlock data;
        stream.readIntoMemoryBlock(data, (juce::pointer_sized_int)(maxFileBytes + 1));

        // A read that failed part way (a region the writer holds locked) leaves the file short.
        if (stream.getStatus().failed())
        {
            readWhole = false;
            return {};
        }

        if ((juce::int64)data.getSize() > maxFileBytes)
            return {};

        return ParseText(Decode(data.getData(), data.getSize()));
    }
    catch (...)
    {
        return {};
    }
}
