#pragma once

#include <juce_core/juce_core.h>

/**
    Generated layout documents for the reader's tests and benchmark: hostile ones that
    would stall the parser, and one as large as the largest real layout. Each hostile one
    holds one readable screen, so a reader that gets through it lists a screen and one that
    refuses it lists none.
*/
namespace LayoutFiles
{
/** A settings document with one screen whose single slice's point list also holds what
    writeExtra writes; sizeHint is the expected size in bytes. */
template <typename WriteExtra>
juce::String WithScreen(size_t sizeHint, WriteExtra&& writeExtra)
{
    juce::MemoryOutputStream text(sizeHint + 256);
    text << "<XmlState><screens><Screen><layers><L><InputRect><v x=\"1\" y=\"2\"/>\n";
    writeExtra(text);
    text << "</InputRect></L></layers></Screen></screens></XmlState>";
    return text.toString();
}

/** One element carrying count attributes, each with a name of its own. */
inline juce::String DistinctAttributeNames(int count)
{
    return WithScreen((size_t)count * 12,
                      [count](juce::MemoryOutputStream& text)
                      {
                          text << "<v";

                          for (int i = 0; i < count; ++i)
                              text << " a" << i << "=\"\"";

                          text << "/>\n";
                      });
}

/** count empty elements, each with a tag of its own. */
inline juce::String DistinctTagNames(int count)
{
    return WithScreen((size_t)count * 11,
                      [count](juce::MemoryOutputStream& text)
                      {
                          for (int i = 0; i < count; ++i)
                              text << "<t" << i << "/>";
                      });
}

/** Ordinary points, as many as fit in the given number of bytes. */
inline juce::String ManyPoints(juce::int64 bytes)
{
    return WithScreen((size_t)bytes,
                      [bytes](juce::MemoryOutputStream& text)
                      {
                          const juce::String point("<v x=\"1234.5\" y=\"67\"/>\n");
                          const auto block = juce::String::repeatedString(point, 4096);

                          for (const auto& piece : { block, point })
                              while ((juce::int64)text.getDataSize() + piece.length() < bytes - 200)
                                  text << piece;
                      });
}

/** A layout like the host's largest: 24 screens (the default) make about 3.4 MB, the size
    of the largest real layout, and 230 screens just under 32 MiB. Each screen holds 42
    contour slices of 100 points. Its tags and attributes have 86 distinct names, the
    longest 29 characters, as real layouts have. */
inline juce::String LargestRealLayout(int screens = 24)
{
    juce::MemoryOutputStream text;
    text << "<XmlState name=\"AdvancedOutput\"><screens>\n";

    for (int screen = 0; screen < screens; ++screen)
    {
        text << "<Screen uniqueId=\"" << screen << "\"><Params name=\"Params\"><Param name=\"Name\" value=\"Screen "
             << screen << "\"/><Param name=\"Enabled\" value=\"1\"/>";

        // The setting names that make up the rest of a real layout's 86 names.
        for (int p = 0; p < 12; ++p)
        {
            const int name = (screen * 12 + p) % 67;
            text << "<ParamRange name=\"Setting" << p << "\" value=\"0.5\" min=\"0\" max=\"1\" "
                 << (name == 0 ? juce::String("softEdgeGammaCorrectionAmount") : "option" + juce::String(name))
                 << "=\"\"/>";
        }

        text << "</Params><layers>\n";

        for (int slice = 0; slice < 42; ++slice)
        {
            text << "<Polygon uniqueId=\"" << slice << "\"><Params name=\"Common\"><Param name=\"Name\" value=\"Slice "
                 << slice << "\"/><Param name=\"Enabled\" value=\"1\"/></Params><InputContour><points>\n";

            for (int i = 0; i < 100; ++i)
                text << "<v x=\"" << (100 + slice * 70 + i % 37) << ".3125\" y=\"" << (200 + i * 7) << ".6875\"/>\n";

            text << "</points></InputContour><InputRect><v x=\"0\" y=\"0\"/><v x=\"1920\" y=\"0\"/><v x=\"1920\" "
                    "y=\"1080\"/></InputRect></Polygon>\n";
        }

        text << "</layers></Screen>\n";
    }

    text << "</screens></XmlState>\n";
    return text.toString();
}
} // namespace LayoutFiles
