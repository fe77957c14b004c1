#include "bcr.h"

#include "cardlayout.h"
#include "cardlinereader.h"
#include "cardlocator.h"
#include "charclassifier.h"
#include "lightingcorrector.h"
#include "linetext.h"
#include "skewcorrector.h"
#include "templatestore.h"

#include <QtGlobal>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

namespace veldra {

namespace {

char32_t markCharacter(unsigned char mark)
{
    switch (mark) {
    case 'v':
        return U'\u02C7';
    case 0xB4:
        return U'\u00B4';
    default:
        return char32_t(mark);
    }
}

} // namespace

std::vector<LineCharacter> BCR::recognise(
    const std::vector<CardGlyph>& glyphs, CharClassifier& classifier, double& score) const
{
    const std::vector<CharTemplate>& templates = m_templates->templates();
    std::vector<LineCharacter> characters;
    long votes = 0;
    int classified = 0;
    for (const CardGlyph& glyph : glyphs) {
        LineCharacter character;
        character.box = glyph.box;
        character.top = glyph.top;
        character.depth = glyph.depth;
        const int w = glyph.image.width();
        const int h = glyph.image.height();
        if (w == 1 && h == 1) {
            character.text = " ";
        } else if (w == 3 && h == 2) {
            character.text = "'";
        } else if (w == 3 && h == 1) {
            character.text = ",";
        } else if (w == 2 && h == 1) {
            character.text = ".";
        } else {
            const int cls = classifier.classifyCharacter(glyph.image, glyph.shape, templates);
            character.text = m_tables.labels()[size_t(cls)];
            if (!classifier.votes().empty()) {
                const int best
                    = *std::max_element(classifier.votes().begin(), classifier.votes().end());
                votes += best;
                character.uncertain = best <= 0;
            }
            ++classified;
        }
        if (glyph.mark && character.text.size() == 1) {
            const auto base = static_cast<unsigned char>(character.text[0]);
            char32_t composed = m_tables.compose(base, markCharacter(glyph.mark));
            // A dotted stem the vote read as a digit one is an i as well.
            if (!composed && glyph.mark == '.' && (base == '1' || base == '|' || base == '!'))
                composed = U'i';
            // Letters outside Latin-1 keep their base.
            if (composed && composed <= 0xFF)
                character.text = std::string(1, char(composed));
        }
        characters.push_back(character);
    }
    score = classified ? double(votes) / classified : 0.0;
    return characters;
}

BCR::BCR(const std::list<std::string>& templatePaths)
    : m_templatePaths(templatePaths)
    , m_templates(std::make_unique<TemplateStore>(templatePaths))
{ }

BCR::~BCR() = default;

std::vector<std::string> BCR::readCard(const std::string& path)
{
    m_lines.clear();
    // A fresh image each time: loading a path already loaded reads nothing,
    // and the file may have changed since.
    m_image = CardImage();
    m_image.load(path);
    if (m_image.width() == 0 || m_image.height() == 0) {
        qWarning("BCR: Error loading Image: Image is empty!");
        return {};
    }
    m_image.convertToGrey();

    CardLocator locator;
    m_card = locator.locate(m_image);
    m_image = CardImage();
    m_fine = m_card.width() > m_card.height() ? m_card.scaledToWidth(fineSide)
                                              : m_card.scaledToHeight(fineSide);
    if (m_fine.isEmpty())
        return {};
    // Uneven light (a shadow across the card) would defeat the global
    // thresholds of the layout; the paper is evened out first.
    if (LightingCorrector::flatten(m_card)) {
        m_fine = m_card.width() > m_card.height() ? m_card.scaledToWidth(fineSide)
                                                  : m_card.scaledToHeight(fineSide);
    }
    // A card photographed askew is turned straight first: the layout looks
    // for text lines along the pixel rows.
    const double skew = SkewCorrector::estimate(m_fine);
    if (std::abs(skew) >= 0.3) {
        m_card = SkewCorrector::rotate(m_card, skew);
        m_fine = m_card.width() > m_card.height() ? m_card.scaledToWidth(fineSide)
                                                  : m_card.scaledToHeight(fineSide);
    }

    CardLayout layout(m_card, m_fine);
    layout.findLines();
    const float scale = layout.scale();

    CharClassifier classifier(tolerance, RecogniserTables::classCount, m_referenceCount);
    classifier.setRuleGroups(m_ruleGroups);
    CardLineReader reader;
    m_lines.resize(layout.boxes().size());
    size_t lineIndex = 0;
    for (const CardRect& box : layout.boxes()) {
        const CardRect inCard { int(box.left * scale), int(box.top * scale),
            int((box.right + 1) * scale) - 1, int((box.bottom + 1) * scale) - 1 };
        const std::vector<CardGlyph> glyphs = reader.read(m_card, inCard);
        double score = 0;
        std::vector<LineCharacter> characters = recognise(glyphs, classifier, score);
        float capital = reader.capHeight();
        // Is the line's size right? A line of small letters alone can pass
        // for capitals and the reverse; the reading the templates agree with
        // better wins.
        if (reader.alternativeCapHeight() > 0 && !characters.empty()) {
            double otherScore = 0;
            std::vector<LineCharacter> other
                = recognise(reader.glyphs(reader.alternativeCapHeight()), classifier, otherScore);
            if (otherScore > score) {
                characters = std::move(other);
                capital = reader.alternativeCapHeight();
            }
        }
        // Digits sit in cells of equal width: a narrow one (a 1) has wide
        // margins that are no word gap. Spacing looks at its whole cell, and
        // a blank the cutting put between digits closer than that goes.
        // Digits sit in cells of equal width: a narrow one (a 1, often read
        // as I or l) has wide margins that are no word gap. Spacing looks at
        // its whole cell, and a blank the cutting put between such
        // characters closer than that goes.
        auto digitLike = [](const std::string& t) {
            return t.size() == 1 && std::strchr("0123456789Il|", t[0]) != nullptr;
        };
        auto digit = [](const std::string& t) {
            return t.size() == 1 && std::isdigit(static_cast<unsigned char>(t[0]));
        };
        // A stem read as I or l counts as a digit only among digits.
        std::vector<bool> numeral(characters.size(), false);
        for (size_t i = 0; i < characters.size(); ++i) {
            if (digit(characters[i].text)) {
                numeral[i] = true;
            } else if (digitLike(characters[i].text)) {
                const bool left
                    = i == 0 || characters[i - 1].blank() || digit(characters[i - 1].text);
                const bool right = i + 1 == characters.size() || characters[i + 1].blank()
                    || digit(characters[i + 1].text);
                numeral[i] = left && right;
            }
        }
        for (size_t i = 0; i < characters.size(); ++i) {
            LineCharacter& c = characters[i];
            const int cell = int(0.65f * capital);
            if (numeral[i] && c.box.width() < cell) {
                const int grow = (cell - c.box.width()) / 2;
                c.box.left -= grow;
                c.box.right += grow;
            }
        }
        for (size_t i = 1; i + 1 < characters.size(); ++i) {
            const bool digits = numeral[i - 1] && numeral[i + 1]
                && (digit(characters[i - 1].text) || digit(characters[i + 1].text));
            if (characters[i].blank() && digits
                && characters[i + 1].box.left - characters[i - 1].box.right < 0.5f * capital) {
                characters.erase(characters.begin() + long(i));
                numeral.erase(numeral.begin() + long(i));
                --i;
            }
        }
        LineText text(std::move(characters));
        text.insertWordSpaces();
        text.correctContext();
        std::string line = text.text();
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        while (!line.empty() && line.front() == ' ')
            line.erase(line.begin());
        m_lines[lineIndex++] = line;
    }
    // Lines that produced no character at all are not lines.
    std::vector<std::string> result;
    for (const std::string& line : m_lines)
        if (!line.empty())
            result.push_back(line);
    m_lines = result;
    return m_lines;
}

} // namespace veldra
