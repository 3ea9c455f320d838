#pragma once

#include <juce_core/juce_core.h>

#include <memory>

/**
    Parses the host's XML files with JUCE's XmlDocument, but only documents that parser
    can get through safely.

    JUCE's parser recurses once per nesting level, resolves entities through a document
    type declaration (external files included), and spins forever on a few malformed
    inputs. So before the text reaches it, a non-recursive pass that takes the parser's
    own steps measures the nesting and refuses a document that nests deeper than
    maxNesting, carries a DOCTYPE, uses an entity reference other than a plain named or
    numeric one, ends before its root element does, or would never finish. Files are read whole (at most maxFileBytes) and
    parsed from memory, so the parser has no way to open any other file.

    Every failure, running out of memory included, gives nullptr; nothing throws.
*/
class GuardedXmlParser
{
public:
    /** Deepest nesting of elements accepted; the host's own files stay near ten. */
    static constexpr int maxNesting = 256;

    /** Largest file read; a layout of a million points takes about a third of it. */
    static constexpr juce::int64 maxFileBytes = 96 * 1024 * 1024;

    /** Reads and parses a file; nullptr when it is missing, too large, unreadable,
        refused or not well-formed enough for JUCE to give a root element. */
    static std::unique_ptr<juce::XmlElement> parseFile (const juce::File& file) noexcept;

    /** Parses a document held in memory, with the same checks. */
    static std::unique_ptr<juce::XmlElement> parseText (const juce::String& text) noexcept;

    /** Turns a file's bytes into text: byte-order marks and UTF-16 are honoured, and bytes
        that are not UTF-8 are taken as Windows-1252. */
    static juce::String decode (const void* data, size_t size);

    /** How many elements deep JUCE's parser would recurse on this text, or -1 when the
        text is refused. */
    static int measureNesting (const juce::String& text);
};
