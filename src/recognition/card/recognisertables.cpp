#include "recognisertables.h"

namespace veldra {

RecogniserTables::RecogniserTables()
{
    const char* singles[] = { "a", "A", "b", "B", "c", "d", "D", "e", "E", "f", "F", "g", "G", "h",
        "H", "I", "J", "k", "K", "l", "L", "m", "M", "n", "N", "o", "p", "P", "q", "Q", "r", "R",
        "s", "t", "T", "u", "v", "w", "x", "y", "Y", "z", "\xDF", "1", "2", "3", "4", "5", "6", "7",
        "8", "9", "0", "+", "-", ".", ":", "@", "/", "\\", "&", "(", ")", "[", "]", "rt", "ft",
        "tz", "rf", "ty", "tt", "ff", "zy", "\xE7", "\xC6", "\xE6", "\xC7", "\xD8", "\xD8" };
    for (const char* label : singles)
        m_labels.emplace_back(label);

    const char32_t* keys[] = { U"A:~^\u00B4`\u00B0", U"a:~^\u00B4`\u00B0", U"c^\u02C7\u00B4",
        U"E\u00B4`:^\u02C7", U"e\u00B4`:^\u02C7", U"g^", U"G^", U"h^", U"H^", U"I.:^\u00B4`",
        U"l.:^\u00B4`", U"[.:^\u00B4`", U"f.:^\u00B4`", U"t.:^\u00B4`", U"J^", U"J.^", U"].^",
        U"N~\u02C7\u00B4", U"n~\u02C7\u00B4", U"O^\u00B4", U"o:~^\u00B4`", U"0:~^\u00B4`",
        U"r\u02C7", U"R\u02C7", U"s^\u02C7\u00B4", U"u:^\u02C7\u00B4`", U"U\u02C7\u00B4", U"y:",
        U"Y:", U"Z\u02C7\u00B4", U"z\u02C7\u00B4", U"..", U",." };
    const char32_t* results[] = { U"\u00C4\u00C3\u00C2\u00C1\u00C0\u00C5",
        U"\u00E4\u00E3\u00E2\u00E1\u00E0\u00E5", U"\u0109\u010D\u0107",
        U"\u00C9\u00C8\u00CB\u00CA\u011A", U"\u00E9\u00E8\u00EB\u00EA\u011B", U"\u011D", U"\u011C",
        U"\u0125", U"\u0124", U"i\u00CF\u00CE\u00CD\u00CC", U"i\u00EF\u00EE\u00ED\u00EC",
        U"i\u00EF\u00EE\u00ED\u00EC", U"i\u00EF\u00EE\u00ED\u00EC", U"i\u00EF\u00EE\u00ED\u00EC",
        U"\u0134", U"j\u0135", U"j\u0135", U"\u00D1\u0147\u0143", U"\u00F1\u0148\u0144",
        U"\u00D4\u00D3", U"\u00F6\u00F5\u00F4\u00F3\u00F2", U"\u00F6\u00F5\u00F4\u00F3\u00F2",
        U"\u0159", U"\u0158", U"\u015D\u0161\u015B", U"\u00FC\u00FB\u01D4\u00FA\u00F9",
        U"\u01D3\u00DA", U"\u00FF", U"\u00FF", U"\u017D\u0179", U"\u017E\u017A", U":", U";" };
    for (const char32_t* key : keys)
        m_accentKeys.emplace_back(key);
    for (const char32_t* result : results)
        m_accentResults.emplace_back(result);
}

int RecogniserTables::indexOf(const std::string& label) const
{
    for (size_t i = 0; i < m_labels.size(); ++i)
        if (m_labels[i] == label)
            return int(i);
    return -1;
}

char32_t RecogniserTables::compose(char32_t base, char32_t mark) const
{
    for (size_t i = 0; i < m_accentKeys.size(); ++i) {
        const std::u32string& key = m_accentKeys[i];
        if (key.empty() || key[0] != base)
            continue;
        const size_t at = key.find(mark, 1);
        if (at != std::u32string::npos && at - 1 < m_accentResults[i].size())
            return m_accentResults[i][at - 1];
    }
    return 0;
}

} // namespace veldra
