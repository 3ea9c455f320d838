#pragma once

#include <juce_core/juce_core.h>

#include <memory>

/**
    Parses the host's XML files with JUCE's XmlDocument, but only documents that parser
    can get through safely and quickly.

    JUCE's parser recurses once per nesting level, resolves entities through a document
    type declaration (external files included), spins forever on a few malformed inputs,
    and inserts every new tag or attribute name into a process-wide sorted pool, one
    move of the array per name. So before the text reaches it, one pass over the text
    accepts only a plain subset of XML's own syntax (no document type, no processing
    instruction inside the root, plain references, nothing after the root but comments
    and white space, nothing cut short) within the limits below, which no layout the
    host writes comes near. It may refuse a document JUCE would read; it never passes
    one that makes JUCE recurse past maxNesting, loop, read past the end of the text or
    take long. Files are read whole (at most maxFileBytes) and parsed from memory, so the
    parser has no way to open any other file.

    The limits come from measurement (tests/benchmarks, OutputSetupReaderBench): real
    layouts reach 3.4 MB with 86 distinct names, none longer than 29 bytes; the limits let
    through a layout as dense as those up to 32 MiB, ten times the largest real one. Such
    a layout parses in 12 to 28 ms per MB on our 8-core machine, depending on its load.
    Elements and references packed far tighter than in any real layout cost JUCE's parser
    up to four times as much per MB, so below their limits a text may hold only as many as
    twice a real layout's density allows for its size, plus a fixed allowance for small
    files. A file that reaches every limit at once, each with the content that costs
    JUCE's parser most, then takes two to two and a half times as long per MB as the 32
    MiB layout at any size from 1 MB up (0.87 s at 32 MiB beside 0.43 s for the layout; 33
    ms per MB at 1 MiB). Each limit bounds a cost that grows with its count, so the time
    grows in step with the size. Anything beyond a limit is refused within a few tens of
    milliseconds, a file too large at once.

    Every failure, running out of memory included, gives nullptr; nothing throws.
*/
class GuardedXmlParser
{
public:
    /** Deepest nesting of elements accepted; the host's own files stay near ten. */
    static constexpr int maxNesting = 256;

    /** Largest file read. */
    static constexpr juce::int64 maxFileBytes = 32 * 1024 * 1024;

    /** Most elements accepted; CDATA sections, comments, processing instructions and runs
        of text other than white space count as elements too (JUCE's parser spends about
        as long on each). A layout as dense as the host's holds one per 31 bytes. */
    static constexpr int maxElements = 1250000;

    /** Most attributes accepted, all elements together; one per 16 bytes in the host's
        densest layouts. */
    static constexpr int maxAttributes = 2500000;

    /** Most entity and character references accepted, text and values together. */
    static constexpr int maxReferences = 400000;

    /** Below those limits, a text of n bytes may hold elementAllowance + n / bytesPerElement
        elements (counted as for maxElements): twice as dense as the host's densest layouts,
        while a small file may hold anything up to the allowance. Packed denser, JUCE's
        parser spends up to four times as long per megabyte as on a real layout. */
    static constexpr int elementAllowance = 16384;
    static constexpr int bytesPerElement = 16;

    /** Likewise referenceAllowance + n / bytesPerReference references; real layouts hold
        hardly any. */
    static constexpr int referenceAllowance = 4096;
    static constexpr int bytesPerReference = 32;

    /** The most elements and references a text of textBytes bytes may hold. */
    static int MostElements(juce::int64 textBytes) noexcept;
    static int MostReferences(juce::int64 textBytes) noexcept;

    /** How many bytes JUCE's parser may copy for a text of textBytes bytes while it decodes
        values that hold references (it copies such a value once more per reference): at
        most a megabyte more than the text, and 32 MiB. */
    static juce::int64 MostValueCopyBytes(juce::int64 textBytes) noexcept;

    /** Most distinct tag and attribute names accepted. */
    static constexpr int maxDistinctNames = 8192;

    /** Longest tag or attribute name accepted, in bytes (entity names stop at 64). */
    static constexpr int maxNameLength = 256;

    /** Reads and parses a file; nullptr when it is missing, too large, unreadable,
        refused or not well-formed enough for JUCE to give a root element. readWhole
        tells whether the file was read to its end: false when it could not be opened
        or read (held locked by its writer, no permission), true for every other outcome. */
    static std::unique_ptr<juce::XmlElement> ParseFile(const juce::File& file, bool& readWhole) noexcept;

    /** The same, for callers that need not know why a file gave nothing. */
    static std::unique_ptr<juce::XmlElement> ParseFile(const juce::File& file) noexcept;

    /** Parses a document held in memory, with the same checks. */
    static std::unique_ptr<juce::XmlElement> ParseText(const juce::String& text) noexcept;

    /** Turns a file's bytes into text: byte-order marks and UTF-16 are honoured, and bytes
        that are not UTF-8 are taken as Windows-1252. */
    static juce::String Decode(const void* data, size_t size);

    /** How many elements deep JUCE's parser will recurse on this text, or -1 when the
        text is refused. */
    static int MeasureNesting(const juce::String& text);
};
