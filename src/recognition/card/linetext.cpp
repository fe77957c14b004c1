#include "linetext.h"

#include <algorithm>
#include <cstring>

namespace veldra {

namespace {

// Letters whose small and capital forms differ only in size, and O/0.
constexpr const char* sizeOnly = "xXuUcCvVwWzZo0rR";
// Those whose case the size decides here: r and R differ in shape as well,
// 0 is settled by its word; s and S are shaped alike too.
constexpr const char* caseBySize = "xXuUcCvVwWzZoOsS";
constexpr const char* descenders = "g9yYpP";
// Separators inside a word: the parts on either side are judged apart.
constexpr const char* punctuation = "., -_~";

// A small letter reaches about 0.72 capital heights above the baseline.
constexpr float capitalTop = 0.86f;
// A descender goes this far below the baseline.
constexpr float descenderDepth = 0.15f;

bool in(const char* set, char c)
{
    return c != 0 && std::strchr(set, c) != nullptr;
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool isLetter(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')
        || (c >= 0xC0 && c != 0xD7 && c != 0xF7);
}
bool isUpper(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
}
// Characters that read as a digit or as a letter depending on their word.
bool ambiguous(char c)
{
    return in("0oOlI1|5sSB8zZ2g9qDQ", c);
}

unsigned char toUpper(unsigned char c)
{
    if ((c >= 'a' && c <= 'z'))
        return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 32;
    return c;
}
unsigned char toLower(unsigned char c)
{
    if ((c >= 'A' && c <= 'Z'))
        return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 32;
    return c;
}

} // namespace

LineText::LineText(std::vector<LineCharacter> characters)
    : m_characters(std::move(characters))
{ }

std::string LineText::text() const
{
    std::string result;
    for (const LineCharacter& c : m_characters)
        result += c.text;
    return result;
}

void LineText::insertWordSpaces()
{
    int tallest = 0;
    for (const LineCharacter& c : m_characters)
        if (!c.blank())
            tallest = std::max(tallest, c.box.height());
    double sum = 0;
    int count = 0;
    for (size_t i = 1; i < m_characters.size(); ++i) {
        const int gap = m_characters[i].box.left - m_characters[i - 1].box.right;
        if (m_characters[i].blank() || m_characters[i - 1].blank())
            continue;
        if (gap > 0 && gap < tallest) {
            sum += gap;
            ++count;
        }
    }
    if (count == 0)
        return;
    const int threshold = int(sum / count * 1.8 + 0.5);
    std::vector<LineCharacter> spaced;
    for (size_t i = 0; i < m_characters.size(); ++i) {
        if (i > 0 && !m_characters[i].blank() && !m_characters[i - 1].blank()) {
            const int gap = m_characters[i].box.left - m_characters[i - 1].box.right;
            // Very tight lines have tiny averages; a blank also needs a gap
            // of a quarter of the line height.
            if (gap > threshold && gap > 0.25 * tallest) {
                LineCharacter blank;
                blank.text = " ";
                blank.box = { m_characters[i - 1].box.right + 1, m_characters[i].box.top,
                    m_characters[i].box.left - 1, m_characters[i].box.bottom };
                spaced.push_back(blank);
            }
        }
        spaced.push_back(m_characters[i]);
    }
    m_characters.swap(spaced);
}

// An e-mail address has one @, the widest of its characters and one whose
// shape varies most between fonts. When a word with a dot has none, its
// widest character that no template matched is taken for it.
void LineText::restoreAtSigns()
{
    size_t start = 0;
    const size_t n = m_characters.size();
    while (start < n) {
        while (start < n && m_characters[start].blank())
            ++start;
        size_t end = start;
        while (end < n && !m_characters[end].blank())
            ++end;
        bool dot = false;
        bool at = false;
        std::vector<int> widths;
        for (size_t i = start; i < end; ++i) {
            dot = dot || m_characters[i].text == ".";
            at = at || m_characters[i].text == "@";
            if (m_characters[i].text.size() == 1 && m_characters[i].text != ".")
                widths.push_back(m_characters[i].box.width());
        }
        if (dot && !at && widths.size() >= 4) {
            std::nth_element(
                widths.begin(), widths.begin() + long(widths.size() / 2), widths.end());
            const int median = widths[widths.size() / 2];
            size_t widest = n;
            for (size_t i = start; i < end; ++i) {
                const LineCharacter& c = m_characters[i];
                if (c.uncertain && c.box.width() >= 1.2 * median
                    && (widest == n || c.box.width() > m_characters[widest].box.width()))
                    widest = i;
            }
            if (widest < n)
                m_characters[widest].text.assign(1, '@');
        }
        start = end;
    }
}

void LineText::correctContext()
{
    restoreAtSigns();
    const size_t n = m_characters.size();
    size_t wordStart = 0;
    while (wordStart < n) {
        auto separates = [this](size_t i) {
            const std::string& t = m_characters[i].text;
            return t.size() == 1 && in(punctuation, t[0]);
        };
        while (wordStart < n && separates(wordStart))
            ++wordStart;
        size_t wordEnd = wordStart;
        while (wordEnd < n && !separates(wordEnd))
            ++wordEnd;
        if (wordStart >= n)
            break;

        int digits = 0;
        int letters = 0;
        int capitals = 0;
        int smalls = 0;
        for (size_t i = wordStart; i < wordEnd; ++i)
            for (char ch : m_characters[i].text) {
                const auto c = static_cast<unsigned char>(ch);
                if (isDigit(ch)) {
                    ++digits;
                } else if (isLetter(c) && !ambiguous(ch)) {
                    ++letters;
                    if (!in(sizeOnly, ch))
                        isUpper(c) ? ++capitals : ++smalls;
                }
            }
        const bool numeric = digits > letters;
        int open = 0;

        for (size_t i = wordStart; i < wordEnd; ++i) {
            LineCharacter& lc = m_characters[i];
            if (lc.text.size() != 1)
                continue;
            const char ch = lc.text[0];
            const auto c = static_cast<unsigned char>(ch);
            const bool tall = lc.top >= capitalTop;
            const bool descends = lc.depth > descenderDepth;
            const char previous = i > wordStart && m_characters[i - 1].text.size() == 1
                ? m_characters[i - 1].text[0]
                : 0;
            const auto prev = static_cast<unsigned char>(previous);
            char result = ch;
            // Brackets reach below the line and are narrow; in a number a
            // stroke read as t, l or 1 that does so is one.
            const bool bracketShape = lc.depth > 0.08f && lc.box.width() < 0.45 * lc.box.height();
            if (numeric && bracketShape && in("tl1I[]()|", ch)) {
                result = open > 0 && i > wordStart ? ')' : '(';
            } else if (numeric && ch == '/' && !descends) {
                result = '7';
            } else if (numeric && ambiguous(ch)) {
                switch (ch) {
                case 'o':
                case 'O':
                case 'D':
                case 'Q':
                    result = '0';
                    break;
                case 'l':
                case 'I':
                case '|':
                    result = '1';
                    break;
                case 's':
                case 'S':
                    result = '5';
                    break;
                case 'B':
                    result = '8';
                    break;
                case 'z':
                case 'Z':
                    result = '2';
                    break;
                case 'g':
                case 'q':
                    result = '9';
                    break;
                default:
                    break;
                }
            } else if (!numeric && letters > 0) {
                switch (ch) {
                case '0':
                    result = tall ? 'O' : 'o';
                    break;
                case '5':
                    result = tall ? 'S' : 's';
                    break;
                case '8':
                    result = 'B';
                    break;
                case '9':
                    result = descends ? 'g' : '9';
                    break;
                case '1':
                case 'I':
                case 'l':
                case '|':
                    // A capital I inside a word with small letters is rare; so
                    // is one right after the dot or @ of an address.
                    if ((isLetter(prev) && !isUpper(prev)) || (i > wordStart && smalls > 0)
                        || (i == wordStart && i > 0 && in(".@", m_characters[i - 1].text[0])))
                        result = 'l';
                    else if (capitals > 0 && smalls == 0 && wordEnd - wordStart > 1)
                        result = 'I';
                    else if (ch == '1' || ch == '|')
                        result = smalls > 0 ? 'l' : 'I';
                    break;
                default:
                    break;
                }
            }
            // Size decides the case of letters that differ in size only,
            // and of the vowels their accents were composed with.
            if (in(caseBySize, result))
                result = char(tall ? toUpper(static_cast<unsigned char>(result))
                                   : toLower(static_cast<unsigned char>(result)));
            else if (c == 0xF6 || c == 0xFC || c == 0xD6 || c == 0xDC || c == 0xF5 || c == 0xF4
                || c == 0xF3 || c == 0xF2 || c == 0xFB || c == 0xFA || c == 0xF9)
                result = char(tall ? toUpper(c) : toLower(c));
            // A cedilla hangs below the line; without it the letter is a c.
            if ((c == 0xE7 || c == 0xC7) && !descends)
                result = tall ? 'C' : 'c';
            if (in(descenders, result) && isLetter(static_cast<unsigned char>(result))) {
                if (result == 'y' || result == 'Y')
                    result = descends ? 'y' : 'Y';
                else if (result == 'p' || result == 'P')
                    result = descends ? 'p' : 'P';
            }
            if (result == '(')
                ++open;
            else if (result == ')' && open > 0)
                --open;
            lc.text[0] = result;
        }
        wordStart = wordEnd;
    }
}

} // namespace veldra
