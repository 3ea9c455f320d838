#pragma once

#include "DistanceImage.h"

#include <juce_graphics/juce_graphics.h>

#include <initializer_list>
#include <vector>

/*
    Small builders and readers shared by the distance image tests: layouts made
    in code, both painting methods, and pixel access by grey level.
*/
namespace DistanceTest
{
using Points = std::vector<juce::Point<float>>;

SliceInfo Slice(Points points, bool enabled = true);
SliceInfo Rectangle(float x, float y, float w, float h, bool enabled = true);
ScreenInfo Screen(std::vector<SliceInfo> slices, bool enabled = true);

/** A screen of 40 overlapping and touching slices of assorted shapes spread over the size. */
std::vector<ScreenInfo> FortySlices(int width, int height);

/** A random layout of the kinds a show has and some it should survive: screens of
        rotated rectangles, concave stars with hair-thin spikes, self-intersecting
        polygons, fractional points, slices reaching past the edges, repeated
        slices, some slices and screens switched off.
    */
std::vector<ScreenInfo> RandomLayout(juce::Random& random, int width, int height, int numScreens, int slicesPerScreen);

/** Random switches: merging, both hidden switches, now and then one screen chosen. */
OutlinePolygons::Switches RandomSwitches(juce::Random& random, int numScreens);

/** 90 overlapping concave slices spread over the size: the densest layout we measure. */
std::vector<ScreenInfo> DenseSlices(int width, int height);

/** 38 overlapping slices of 325 points in all, like a face-mapping show. */
std::vector<ScreenInfo> ShowSlices(int width, int height);

/** The same slice, count times over. */
std::vector<ScreenInfo> StackedSlices(int width, int height, int count);

/** Count small random quads and three-pointed stars anywhere on the size. */
std::vector<ScreenInfo> ScatteredSlices(int width, int height, int count);

/** Count slices of so many random points each, all over the middle of the size:
        self-crossing and laid over one another, the most crowded layout we measure.
    */
std::vector<ScreenInfo> OverlappingSlices(int width, int height, int count, int pointsPerSlice);

/** Count round masks of so many points each, side by side across the middle of the size. */
std::vector<ScreenInfo> RoundMasks(int width, int height, int count, int pointsPerMask);

/** One outline traced round a figure: so many points, every one on a whole pixel, with
        bays and bulges but never crossing itself.
    */
std::vector<ScreenInfo> TracedOutline(int width, int height, int numPoints);

/** Count round slices of so many points each in a grid over the size, apart from one another. */
std::vector<ScreenInfo> RoundSlices(int width, int height, int count, int pointsPerSlice);

/** An LED wall: columns x rows tiles that touch one another and fill the size. */
std::vector<ScreenInfo> LedWall(int width, int height, int columns, int rows);

/** numScreens screens that each hold the same slicesPerScreen slices. */
std::vector<ScreenInfo> RepeatedScreens(int width, int height, int numScreens, int slicesPerScreen);

/** Count parallel strips of the given width at the given angle (degrees from the
        horizontal), spread evenly over the size and reaching past its edges.
    */
std::vector<ScreenInfo> DiagonalStrips(int width, int height, int count, float degrees, float stripWidth);

/** Count LED nodes, squares of side size on a grid of the given pitch, in the middle of the size. */
std::vector<ScreenInfo> LedNodes(int width, int height, int count, float size, float pitch);

/** Count circles of so many points each over the middle of the size, laid over one
        another, each a little out of round.
    */
std::vector<ScreenInfo> OverlappingCircles(int width, int height, int count, int pointsPerCircle);

/** Paints with the plug-in's method into a fresh image (fails the test if it reports false). */
juce::Image PaintFast(const std::vector<ScreenInfo>& screens, int width, int height,
                      const OutlinePolygons::Switches& switches = {});

/** Paints every ring whole, the plain way, collecting the slices itself. */
juce::Image PaintPlain(const std::vector<ScreenInfo>& screens, int width, int height,
                       const OutlinePolygons::Switches& switches = {});

/** The grey level at a pixel (the red channel; checks that the pixel is an opaque grey). */
int Grey(const juce::Image& image, int x, int y);

/** How two images of the same size differ: the pixels where any channel differs, and
    the largest difference of one channel. */
struct ImageDifference
{
    int pixels = 0;
    int largest = 0;
};

ImageDifference CompareImages(const juce::Image& a, const juce::Image& b);

/** True when both images hold the same bytes. */
bool SamePixels(const juce::Image& a, const juce::Image& b);
} // namespace DistanceTest
