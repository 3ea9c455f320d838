// Feeds arbitrary bytes through the guarded parser and the screen-setup walk. Besides
// crashes, hangs and leaks, it checks that the nesting measured before parsing is never
// below what the parser actually built: that measure is what keeps the parser's
// recursion off the end of the stack.
#include "GuardedXmlParser.h"
#include "OutputSetupReader.h"
#include "XmlTreeDepth.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The reader looks in the Documents folder on construction: give it an empty one.
    static const auto home = juce::File::createTempFile("zm-fuzz-home");
    home.createDirectory();
    ::setenv("HOME", home.getFullPathName().toRawUTF8(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 1 << 20)
        return 0;

    const auto text = GuardedXmlParser::Decode(data, size);
    const int measured = GuardedXmlParser::MeasureNesting(text);
    auto root = GuardedXmlParser::ParseText(text);

    if (root != nullptr && (measured < 0 || TreeDepth(*root) > measured + 1))
        std::abort();

    static OutputSetupReader reader(false);
    reader.screens.clear();
    reader.ReadScreenSetup(root.get());

    if (root != nullptr)
        reader.ReadScreenSetup(root->getChildByName("ScreenSetup"));

    return 0;
}
