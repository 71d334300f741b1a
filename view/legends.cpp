#include "view/legends.h"

#include <string>

namespace rv {

namespace {

Rgb8 rgb(const std::uint8_t (&c)[3]) { return {c[0], c[1], c[2]}; }

LegendItem words(std::string full, std::string brief) { return {std::nullopt, std::move(full), std::move(brief)}; }
LegendItem extra(std::string words) { return {std::nullopt, std::move(words), "", true}; }

} // namespace

std::vector<LegendItem> differenceLegend(const DifferenceCounts& c) {
    const std::string equal = std::to_string(c.equal), differing = std::to_string(c.both - c.equal);
    const std::string software = std::to_string(c.softwareOnly), opengl = std::to_string(c.openglOnly);
    return {
        extra("difference:"),
        {Swatch{rgb(difference::equal), rgb(difference::equal)}, equal + " equal", equal + " eq"},
        {Swatch{rgb(difference::smallest), rgb(difference::largest)}, differing + " differ", differing + " diff"},
        {Swatch{rgb(difference::softwareOnly), rgb(difference::softwareOnly)}, software + " software only",
         software + " sw"},
        {Swatch{rgb(difference::openglOnly), rgb(difference::openglOnly)}, opengl + " OpenGL only", opengl + " GL"},
        extra("(d: back)"),
    };
}

std::vector<LegendItem> falseColourLegend(InspectView view) {
    std::vector<LegendItem> items;
    auto add = [&](std::initializer_list<const char*> list) {
        for (const char* w : list) items.push_back(words(w, w));
    };
    switch (view) {
    case InspectView::picture: return {};
    case InspectView::depth: add({"depth:", "dark near,", "light far"}); break;
    case InspectView::lod: add({"lod:", "blue 0,", "green 2,", "yellow 4,", "red 6,", "grey off"}); break;
    case InspectView::normal: add({"normal:", "rgb = xyz * 0.5 + 0.5"}); break;
    case InspectView::texcoord: add({"texcoord:", "red s,", "green t", "(fractions)"}); break;
    case InspectView::spans: add({"spans:", "colours alternate", "per span"}); break;
    }
    items.push_back(words("(v: next view)", "(v: next)"));
    return items;
}

} // namespace rv
