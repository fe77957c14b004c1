#pragma once

#include <string>
#include <vector>

namespace veldra {

// The recogniser's class labels (Latin-1, one or two characters each) and the
// accent composition table (key: base character followed by marks; result:
// the composed character for each mark).
class RecogniserTables
{
public:
    RecogniserTables();

    const std::vector<std::string>& labels() const { return m_labels; }
    const std::vector<std::u32string>& accentKeys() const { return m_accentKeys; }
    const std::vector<std::u32string>& accentResults() const { return m_accentResults; }

    // Index of a label, -1 when there is none.
    int indexOf(const std::string& label) const;
    // The character made of base and mark, 0 when the table has no pair.
    char32_t compose(char32_t base, char32_t mark) const;

    static constexpr int classCount = 79;
    static constexpr int prototypes = 7;
    static constexpr int referenceCount = classCount * prototypes;
    static constexpr int unknownClass = 54;

private:
    std::vector<std::string> m_labels;
    std::vector<std::u32string> m_accentKeys;
    std::vector<std::u32string> m_accentResults;
};

} // namespace veldra
