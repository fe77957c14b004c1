#pragma once

#include <QString>

#include <cstdint>
#include <list>
#include <string>
#include <vector>

namespace veldra {

// One feature of the character classifier: the mean grey level of the square
// (x, y) - (x + side, y + side) of a character canvas, with the value each of
// the 553 references (7 prototypes x 79 classes) expects there.
struct CharTemplate
{
    uint8_t x = 0;
    uint8_t y = 0;
    int8_t side = 0;
    std::vector<uint16_t> values;
    int count = 0;
};

// The character templates read from the "*.fdb" files, one feature per file.
class TemplateStore
{
public:
    TemplateStore() = default;
    explicit TemplateStore(const std::list<std::string>& paths);

    // Reads the files in order; stops at the first one that cannot be
    // opened. A file too short to hold a full template is skipped.
    void load(const std::list<std::string>& paths);

    const std::vector<CharTemplate>& templates() const { return m_templates; }
    const std::list<std::string>& paths() const { return m_paths; }

    // Writes one template file; false when the file cannot be written.
    static bool write(const std::string& path, const CharTemplate& feature);

    // The "*.fdb" files of folder in name order, as the loader takes them;
    // empty when the folder does not exist.
    static std::list<std::string> filesIn(const QString& folder);
    // Those of the folder "bpv" beside the program, where they are installed.
    static std::list<std::string> installedFiles();

private:
    std::list<std::string> m_paths;
    std::vector<CharTemplate> m_templates;
};

} // namespace veldra
