#pragma once

#include "cardrect.h"
#include "recognisertables.h"

#include <string>
#include <vector>

namespace veldra {

// One recognised piece of a line: the text of a character (one or two
// Latin-1 characters, or a blank) with its box and its ink extent relative
// to the line (see CardGlyph).
struct LineCharacter
{
    std::string text;
    CardRect box;
    float top = 0;
    float depth = 0;
    // No template agreed with the character (the vote fell back).
    bool uncertain = false;
    bool blank() const { return text == " "; }
};

// Turns the recognised characters of a line into its text: blanks at wide
// gaps, then context corrections of letter case and of look-alike letters
// and digits. Strings and boxes stay aligned throughout.
class LineText
{
public:
    explicit LineText(std::vector<LineCharacter> characters);

    // Inserts a blank before every character whose gap to its predecessor
    // exceeds truncate(1.8 x average gap + 0.5); gaps are averaged over those
    // between 0 and the tallest box height.
    void insertWordSpaces();
    void correctContext();

    const std::vector<LineCharacter>& characters() const { return m_characters; }
    std::string text() const;

private:
    void restoreAtSigns();

    std::vector<LineCharacter> m_characters;
};

} // namespace veldra
