#pragma once

#include "cardglyph.h"

#include <cstdint>
#include <vector>

namespace veldra {

// Cuts one text line of a card into character images and markers: polarity,
// ink enhancement, edge columns, then connected ink parts grouped into
// characters with their accents, normalised onto 48 x 48 canvases.
class CardLineReader
{
public:
    // box: the line in card-image coordinates. The cut-out gets some rows of
    // margin so that accents and descenders are not clipped.
    std::vector<CardGlyph> read(const CardImage& card, const CardRect& box);
    // line: a grey line image whose text occupies rows coreTop to coreBottom.
    std::vector<CardGlyph> readLine(const CardImage& line, int coreTop, int coreBottom);

    // The glyphs of the last line read, normalised for another capital
    // height (to try a second reading of the line's size).
    std::vector<CardGlyph> glyphs(float capital) const;
    // The other plausible capital height of the last line: small letters
    // taken for capitals or the reverse; 0 when there is none.
    float alternativeCapHeight() const { return m_alternativeCapHeight; }

    // With markers off every character becomes a canvas, full stops and
    // commas included (for training the templates).
    void setMarkersEnabled(bool enabled) { m_markers = enabled; }

    // Figures of the last line read, for diagnostics and tests.
    int threshold() const { return m_threshold; }
    int margin() const { return m_margin; }
    bool inverted() const { return m_inverted; }
    float baseline() const { return m_baseline; }
    float capHeight() const { return m_capHeight; }

    static constexpr int canvasSide = 48;
    static constexpr uint32_t canvasBackground = 0xFF737373u;
    // Canvas rows of the baseline and of the top of a capital letter.
    static constexpr int baselineRow = 34;
    static constexpr int capitalRows = 26;

    static CardImage blankMarker() { return CardImage(1, 1, 0xFFFFFFFFu); }
    static CardImage apostropheMarker() { return CardImage(3, 2, 0xFF000000u); }
    static CardImage commaMarker() { return CardImage(3, 1, 0xFF000000u); }
    static CardImage fullStopMarker() { return CardImage(2, 1, 0xFF000000u); }

private:
    struct Component
    {
        CardRect box;
        int area = 0;
        int label = 0;
    };
    struct Group
    {
        std::vector<int> body;
        std::vector<int> marks;
        CardRect box;
        // Columns of the body that belong to this character, when touching
        // characters were cut apart.
        int clipLeft = -1;
        int clipRight = -1;
    };

    void enhance();
    std::vector<CardRect> inkColumns(int w, int h) const;
    void label(const std::vector<CardRect>& columns, int coreTop, int coreBottom);
    std::vector<Group> groupComponents() const;
    void measureLine(const std::vector<Group>& groups);
    std::vector<Group> splitWide(const std::vector<Group>& groups) const;
    unsigned char markOf(const Group& group) const;
    CardImage canvas(const Group& group, float capital, bool shape) const;
    bool belongsTo(const Group& group, int label) const;

    int m_width = 0;
    int m_height = 0;
    std::vector<uint8_t> m_grey;
    std::vector<int> m_labels;
    std::vector<Component> m_components;
    int m_threshold = 0;
    int m_margin = 5;
    int m_paper = 255;
    int m_inkLevel = 0;
    bool m_inverted = false;
    bool m_markers = true;
    float m_baseline = 0;
    float m_capHeight = 0;
    float m_alternativeCapHeight = 0;
    std::vector<Group> m_groups;
};

} // namespace veldra
