#pragma once

#include "cardimage.h"
#include "recognisertables.h"

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

namespace veldra {

class CharClassifier;
class TemplateStore;
struct CardGlyph;
struct LineCharacter;

// The business-card recogniser: reads the text lines of a photographed card.
// Not re-entrant: one readCard() at a time per object.
class BCR
{
public:
    // templatePaths: the "*.fdb" character template files, one feature each.
    explicit BCR(const std::list<std::string>& templatePaths);
    ~BCR();
    BCR(const BCR&) = delete;
    BCR& operator=(const BCR&) = delete;

    // The card's text lines in reading order, Latin-1; empty when the file
    // cannot be read as a JPEG or holds no text line.
    std::vector<std::string> readCard(const std::string& path);

    const TemplateStore& templates() const { return *m_templates; }
    const RecogniserTables& tables() const { return m_tables; }
    // Chooses the look-alike rules that run (see ConfusionRules::apply), to
    // measure what each brings.
    void setConfusionRuleGroups(uint32_t groups) { m_ruleGroups = groups; }

    static constexpr int coarseSide = 250;
    static constexpr int fineSide = 1000;
    static constexpr int tolerance = 25;

private:
    // Classifies the glyphs of a line; score is the mean winning vote.
    std::vector<LineCharacter> recognise(
        const std::vector<CardGlyph>& glyphs, CharClassifier& classifier, double& score) const;

    std::list<std::string> m_templatePaths;
    std::unique_ptr<TemplateStore> m_templates;
    RecogniserTables m_tables;
    int m_referenceCount = RecogniserTables::referenceCount;
    std::vector<std::string> m_lines;
    CardImage m_image;
    CardImage m_card;
    CardImage m_fine;
    uint32_t m_ruleGroups = 0xFFFFFFFFu;
};

} // namespace veldra
